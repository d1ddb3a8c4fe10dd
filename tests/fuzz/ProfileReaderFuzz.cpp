// libFuzzer target for the private-profile reader: any bytes must read without a fault, and every
// answer must keep the reader's contract (at most size - 1 characters, the count equal to the length).
#include "platform/files/ProfileReader.h"

#include <QByteArrayView>
#include <cstdlib>

namespace {

void Check(const platform::ProfileReader& ini, QStringView section, QStringView key, qsizetype size) {
    static const QString def = QStringLiteral("predefinito");
    const platform::ProfileString value = ini.GetPrivateProfileString(section, key, def, size);
    if (value.count != value.text.size() || value.count > qMax(size - 1, qsizetype(0))) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto ini = platform::ProfileReader::FromBytes(QByteArrayView(data, qsizetype(size)));
    for (const QStringView section : {u"Tasti", u"X-Y Digitale", u"X-Y Analogico", u""}) {
        for (const QStringView key : {u"0", u"13", u"XY", u"X", u""}) {
            for (const qsizetype bufferSize : {0, 1, 4, 255}) {
                Check(ini, section, key, bufferSize);
            }
        }
    }
    return 0;
}
