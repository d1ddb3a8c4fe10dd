// libFuzzer target for the map's write side: random edits of the tables a random file loaded as, saved
// into a second random file (the file as changed meanwhile, or the same one). Loading again must give
// the second file's entries with the edits over them, and every line the save did not write must stay.
#include "support/MapProperty.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using namespace Generale;

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
    const bool changedMeanwhile = input.ConsumeBool();
    const QByteArray shownFrom = QByteArray::fromStdString(input.ConsumeRandomLengthString());
    const QByteArray rest = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());
    const QByteArray file = changedMeanwhile ? rest : shownFrom + rest;

    const Mappa prima = LeggiMappa(changedMeanwhile ? shownFrom : file, Mappa{});
    Mappa shown = prima;
    for (const Modifica& edit : edits) {
        if (edit.entry < NumTasti) {
            shown.codici[edit.entry] = edit.value;
            shown.comandi[edit.entry] = QString::fromUtf8(edit.command);
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

    for (int i = 0; i < NumTasti; ++i) {
        // The dialog saves no changed command that would not load back: the user mends it first.
        const bool changed = shown.codici[i] != prima.codici[i] || shown.comandi[i] != prima.comandi[i];
        if (changed && !ComandoNonSalvabile(shown.codici[i], shown.comandi[i]).isEmpty()) {
            shown.comandi[i].clear();
        }
    }
    const std::string broken = map_property::SaveBreaks(file, prima, shown);
    // Only a Windows-1252 file may refuse a character the dialog let through.
    const bool refusal = broken.starts_with("refused: ") && broken.size() > 9 &&
                         platform::DecodeProfile(file).encoding == platform::ProfileEncoding::Windows1252;
    if (!broken.empty() && !refusal) {
        std::abort();
    }
    return 0;
}
