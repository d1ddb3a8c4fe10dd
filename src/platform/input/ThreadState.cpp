#include "platform/input/ThreadState.h"

#include <QByteArray>
#include <QFile>
#include <unistd.h>

namespace platform {

pid_t CurrentThreadId() {
    return gettid();
}

bool ThreadAsleep(pid_t tid) {
    QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(tid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return true;
    }
    // "tid (name) state ...": the name may hold spaces and parentheses, the state follows the last ')'.
    const QByteArray line = stat.read(512);
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size()) {
        return true;
    }
    const char state = line.at(close + 2);
    return state == 'S' || state == 'D';
}

}  // namespace platform
