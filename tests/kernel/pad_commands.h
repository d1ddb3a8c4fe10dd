// The pad tools' commands, one a line on standard input:
//   add <name> <model> [...]  create a device (the tool's models; what may follow them is the tool's)
//   key <name> <button> 0|1   release or press a button
//   tap <name> <button>       press and release a button at once, quicker than any poll
//   abs <name> <axis> <value> move an axis
//   tremble <name> <axis> <value>  the axis stands at value and value + 1 by turns, a report each, as a worn
//                             stick trembles at rest (the tools' devices that report on their own)
//   remove <name>             destroy the device, as an unplug does
// Every command is answered on standard output with "ok <command number>" or "error <n>: <why>", so a
// script can wait for the device to exist before it goes on.
#pragma once

#include <cerrno>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

inline void Check(bool ok, const std::string& what) {
    if (!ok) {
        throw std::runtime_error(what + ": " + std::strerror(errno));
    }
}

// Runs command <number> on the devices by name and answers it. make(model, rest of the line) gives a
// new device, or none for a model the tool lacks; a device takes key and abs as Set(control, value, key).
template<typename Device, typename Make>
void RunCommand(std::map<std::string, std::unique_ptr<Device>>& devices, int number, const std::string& line,
                const Make& make) {
    std::istringstream words(line);
    std::string command, name, argument;
    words >> command >> name >> argument;
    int value = 0;
    try {
        if (command == "add") {
            std::unique_ptr<Device> device = devices.count(name) == 0 ? make(argument, words) : nullptr;
            if (!device) {
                throw std::runtime_error("cannot add " + name + " as " + argument);
            }
            devices[name] = std::move(device);
        } else if (command == "key" || command == "abs") {
            if (!(words >> value) || devices.count(name) == 0) {
                throw std::runtime_error("bad command: " + line);
            }
            devices[name]->Set(argument, value, command == "key");
        } else if (command == "tremble") {
            if constexpr (requires(Device & device, const std::string& axis, int at) {
                              device.Tremble(axis, at);
                          }) {
                if (!(words >> value) || devices.count(name) == 0) {
                    throw std::runtime_error("bad command: " + line);
                }
                devices[name]->Tremble(argument, value);
            } else {
                throw std::runtime_error("no device here reports on its own: " + line);
            }
        } else if (command == "tap" && devices.count(name) != 0) {
            devices[name]->Set(argument, 1, true);
            devices[name]->Set(argument, 0, true);
        } else if (command == "remove") {
            if (devices.erase(name) == 0) {
                throw std::runtime_error("no device " + name);
            }
        } else if (!command.empty()) {
            throw std::runtime_error("unknown command: " + line);
        }
        std::cout << "ok " << number << std::endl;
    } catch (const std::exception& failure) {
        std::cout << "error " << number << ": " << failure.what() << std::endl;
    }
}
