#pragma once
// Whether a saved file keeps every line of the original in order: each line either stands as it was
// or, where the writer changed a value, keeps its text up to "=" and its line end; lines may only be
// added between. A last line without a line break may gain one.

#include <QByteArray>
#include <QList>

inline bool LinesKept(const QByteArray& original, const QByteArray& saved) {
    const QList<QByteArray> before = original.split('\n');
    const QList<QByteArray> after = saved.split('\n');
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
