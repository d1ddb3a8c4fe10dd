#pragma once
// SDL's virtual joysticks for one test: attached and opened (to set their controls), detached as an
// unplug, closed at the end. SDL's joystick subsystem must run for the object's whole life.

#include <SDL.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

class VirtualJoysticks {
public:
    VirtualJoysticks() = default;
    ~VirtualJoysticks() {
        for (SDL_Joystick* device : devices_) {
            SDL_JoystickClose(device);
        }
    }
    VirtualJoysticks(const VirtualJoysticks&) = delete;
    VirtualJoysticks& operator=(const VirtualJoysticks&) = delete;

    // Devices of one name share a GUID; a vendor and product number go into the GUID instead of the name.
    SDL_Joystick* Attach(SDL_JoystickType type, int axes, int buttons, int hats, const char* name,
                         Uint16 vendor = 0, Uint16 product = 0,
                         void (*update)(void*) = nullptr /* called at every SDL_JoystickUpdate */) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = static_cast<Uint16>(type);
        desc.naxes = static_cast<Uint16>(axes);
        desc.nbuttons = static_cast<Uint16>(buttons);
        desc.nhats = static_cast<Uint16>(hats);
        desc.vendor_id = vendor;
        desc.product_id = product;
        desc.name = name;
        desc.Update = update;
        SDL_Joystick* device = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
        EXPECT_NE(device, nullptr) << SDL_GetError();
        devices_.push_back(device);
        return device;
    }

    void Detach(SDL_Joystick* device) {
        for (int index = 0; index < SDL_NumJoysticks(); ++index) {
            if (SDL_JoystickGetDeviceInstanceID(index) == SDL_JoystickInstanceID(device)) {
                EXPECT_EQ(SDL_JoystickDetachVirtual(index), 0);
            }
        }
        devices_.erase(std::find(devices_.begin(), devices_.end(), device));
        SDL_JoystickClose(device);
    }

private:
    std::vector<SDL_Joystick*> devices_;
};
