#pragma once
// Profiles over a temporary program directory (its Corvane.ini is the default map), with their own
// configuration and trash folders; the map in force is the search's again at the end.

#include "platform/desktop/MapFile.h"
#include "profiles/ProfileSet.h"
#include "support/ScopedEnvironment.h"
#include "support/TempProgramDirectory.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

class ProfileTest : public testing::Test {
protected:
    ProfileTest() {
        env.Set("XDG_DATA_HOME", dir.path() + QStringLiteral("/data"));
        QDir(dir.path()).mkdir(QStringLiteral("data"));  // Qt makes the trash, not its parent
        platform::SetMapFile({});
    }
    ~ProfileTest() override { platform::SetMapFile({}); }

    // A profile file with a map whose button 0 has that code and command.
    static void Write(const QString& file, const QByteArray& tasto0) {
        QDir().mkpath(ProfileSet::Directory());
        QFile out(QDir(ProfileSet::Directory()).filePath(file));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("[Tasti]\n0=" + tasto0 + "\n");
    }

    TempProgramDirectory dir;
    ScopedEnvironment env;
};
