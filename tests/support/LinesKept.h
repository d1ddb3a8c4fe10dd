#pragma once
// Whether a saved file keeps every line of the original in order: each line either stands as it was
// or, where the writer changed a value, keeps its text up to "=" and its line end; lines may only be
// added between. A last line without a line break may gain one.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

inline bool LinesKept(QByteArrayView original, QByteArrayView saved) {
    // Byte-order marks belong to the file, not to its first line.
    while (original.startsWith("\xEF\xBB\xBF") && saved.startsWith("\xEF\xBB\xBF")) {
        original = original.sliced(3);
        saved = saved.sliced(3);
    }
    const QList<QByteArray> before = original.toByteArray().split('\n');
    const QList<QByteArray> after = saved.toByteArray().split('\n');
    qsizetype j = 0;
    for (const QByteArray& line : before) {
        const qsizetype equals = line.indexOf('=');
        const auto changed = [&](const QByteArray& saved) {
            return equals >= 0 && saved.startsWith(line.first(equals + 1)) && saved.endsWith('\r') == line.endsWith('\r');
        };
        const auto ended = [&](const QByteArray& saved) { return &line == &before.last() && saved == line + '\r'; };
        while (j < after.size() && after[j] != line && !changed(after[j]) && !ended(after[j])) {
            ++j;
        }
        if (j++ == after.size()) {
            return false;
        }
    }
    return true;
}
