// libFuzzer target for the map's write side: random edits of the tables a random file loads as. Saving
// and loading again must give the edited tables, and every line the save did not change must stay.
#include "keymap/Generale.h"
#include "platform/ProfileWriter.h"
#include "support/LinesKept.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using namespace Generale;

namespace {

// Every number differs from m's: an entry the save forgot cannot pass for written by keeping its value.
Mappa Diversa(Mappa m) {
    for (int32_t& code : m.codici) {
        code = ~code;
    }
    for (int32_t& position : m.posizioni) {
        position = ~position;
    }
    return m;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    struct Modifica {
        int entry;
        int32_t value;
        std::string command;
    };
    std::vector<Modifica> edits(input.ConsumeIntegralInRange(0, 8));
    for (Modifica& edit : edits) {
        edit = {input.ConsumeIntegralInRange(0, NumTasti + NumPosizioni + 5), input.ConsumeIntegral<int32_t>(),
                input.ConsumeRandomLengthString(300)};
    }
    const std::string text = input.ConsumeRemainingBytesAsString();
    const QByteArray file = QByteArray::fromStdString(text);

    Mappa shown = LeggiMappa(file, Mappa{});
    for (const Modifica& edit : edits) {
        if (edit.entry < NumTasti) {
            const QString command = QString::fromUtf8(edit.command);
            shown.codici[edit.entry] = edit.value;
            // The dialog refuses a command that would not load back.
            shown.comandi[edit.entry] = ComandoNonSalvabile(edit.value, command).isEmpty() ? command : QString();
        } else if (edit.entry < NumTasti + NumPosizioni) {
            shown.posizioni[edit.entry - NumTasti] = edit.value;
        } else if (edit.entry == NumTasti + NumPosizioni) {
            shown.ordineXY = edit.value & 1;
        } else if (edit.entry == NumTasti + NumPosizioni + 1) {
            shown.ordineZR = edit.value & 1;
        } else {
            shown.segni[edit.entry - NumTasti - NumPosizioni - 2] = edit.value & 1 ? 1 : -1;
        }
    }

    platform::ProfileWriter ini(file);
    SalvaMappa(shown, file, ini);
    QString error;
    const std::optional<QByteArray> saved = ini.Bytes(error);
    if (!saved) {
        // Only a Windows-1252 file can refuse a character, and it says why.
        if (error.isEmpty() || platform::DecodeProfile(file).encoding != platform::ProfileEncoding::Windows1252) {
            std::abort();
        }
        return 0;
    }
    if (LeggiMappa(*saved, Diversa(shown)) != shown || !LinesKept(file, *saved)) {
        std::abort();
    }
    return 0;
}
