// A later launch's --profile, as the request carries it and as the running program does it.

#include "ProfileFixture.h"

#include "background/BackgroundMode.h"
#include "mainwindow/MainForm.h"
#include "platform/QtShell.h"
#include "support/FakeJoystickDriver.h"

#include <QFileInfo>
#include <QTest>

using platform::SessionRequest;
using Action = SessionRequest::Action;

TEST(ProfileRequest, CarriesANameTheProfilesAllowAndNothingElse) {
    const QByteArray longest(64, 'x');
    const struct {
        QByteArray bytes;
        std::optional<SessionRequest> request;
    } rows[] = {
        {"profile Film\nshow\n", SessionRequest{Action::Show, {}, false, u"Film"_qs}},
        {"profile \xc3\xa8 sera\nemulation\nstart\n", SessionRequest{Action::Start, {}, true, u"è sera"_qs}},
        {"profile " + longest + "\nshow\n",
         SessionRequest{Action::Show, {}, false, QString::fromLatin1(longest)}},
        {"profile " + longest + "x\nshow\n", std::nullopt},  // past the bound
        {"profile a/b\nshow\n", std::nullopt},               // a file outside the folder
        {"profile \nshow\n", std::nullopt},                  // no name is not the default
        {"profile x\xff\nshow\n", std::nullopt},             // not UTF-8
        {"map /a.ini\nprofile x\nshow\n", std::nullopt},     // one map or the other
        {"emulation\nprofile x\nshow\n", std::nullopt},      // out of order
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes.toStdString());
        EXPECT_EQ(platform::ParseRequest(row.bytes), row.request);
        EXPECT_TRUE(platform::RequestGoesOn(row.bytes.first(row.bytes.indexOf('\n') + 1)));
        if (row.request) {
            EXPECT_EQ(platform::RequestLines(*row.request), row.bytes);  // what a launch sends
        }
    }
    EXPECT_TRUE(platform::RequestLines({Action::Show, u"/a.ini"_qs, false, u"x"_qs}).isEmpty());
}

// Through the running program's own handlers: taken only when the profile exists, then switched to;
// the next press starts the profile's command, which is told the profile's name.
TEST_F(ProfileTest, ARunningProgramSwitchesToTheProfileALaunchNames) {
    const QString script = dir.path() + QStringLiteral("/record.sh");
    const QString out = dir.path() + QStringLiteral("/out");
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) &&
                file.write("#!/bin/sh\nprintf %s \"$CORVANE_PROFILE\" >\"$1\"\n") > 0);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    Write(QStringLiteral("Film.ini"), "1 [" + QFile::encodeName(script + u' ' + out) + "]");
    platform::QtShell shell;
    MainForm form(std::make_shared<FakeJoystickDriver>(), shell);
    BackgroundMode mode(form, std::make_shared<FakeJoystickDriver>(), shell, false);
    EXPECT_FALSE(mode.Accepts({Action::Start, {}, false, u"Serie"_qs}));
    const SessionRequest request{Action::Stop, {}, false, u"film"_qs};
    ASSERT_TRUE(mode.Accepts(request));
    mode.Handle(request);
    EXPECT_EQ(form.Profili().Active(), QStringLiteral("Film"));
    form.Cmd_tasto_MouseDown(0, 1, 0, 0, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(out).size() > 0; }, 5000));
    QFile told(out);
    ASSERT_TRUE(told.open(QIODevice::ReadOnly));
    EXPECT_EQ(told.readAll(), "Film");
}
