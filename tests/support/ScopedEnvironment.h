#pragma once
// Environment variables as a test sets them, each given back its old value (or unset again) at the
// end of the scope; nullopt unsets one.

#include <QFile>
#include <optional>
#include <utility>
#include <vector>

class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    void Set(const char* name, const std::optional<QString>& value) {
        saved_.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        value ? qputenv(name, QFile::encodeName(*value)) : qunsetenv(name);
    }
    ~ScopedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            it->second ? qputenv(it->first, *it->second) : qunsetenv(it->first);
        }
    }

private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> saved_;
};
