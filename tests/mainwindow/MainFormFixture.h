#pragma once
// A loaded MainForm over a temporary program directory, with a recording shell, and readers of its
// controls by design name.

#include "keymap/Generale.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/ShapeWidget.h"
#include "platform/Twips.h"
#include "platform/WindowServices.h"
#include "support/FakeJoystickDriver.h"
#include "support/QtPrinters.h"
#include "support/RecordingShell.h"
#include "support/TempProgramDirectory.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

class MainFormTest : public testing::Test {
protected:
    // Writes Corvane.ini (before the window loads, when given to the constructor) and loads the window.
    void Load(const QByteArray& ini = {}) {
        if (!ini.isEmpty()) {
            dir.WriteIni(ini);
        }
        form.reset();  // the driver has one change listener: the old window's goes first
        form = std::make_unique<MainForm>(driver, shell);
    }

    void SetUp() override { Load(); }

    template<typename T = QWidget>
    T* Control(const QString& name) const {
        T* control = form->findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }

    static QString Element(const char* name, int index) {
        return QStringLiteral("%1(%2)").arg(name).arg(index);
    }

    QString Text(const QString& label) const { return Control<QLabel>(label)->text(); }
    QString KeyCode() const { return Text(QStringLiteral("Lab_Tasto(0)")); }
    QRect Twips(const QString& name) const { return platform::TwipsGeometry(*Control(name)); }
    QPoint LeftTop(const QString& name) const { return Twips(name).topLeft(); }
    QSlider* Slider(const char* name) const { return Control<QSlider>(QString::fromLatin1(name)); }

    // Which elements of a control array are shown (not hidden), index order.
    std::vector<bool> Shown(const char* name, int count) const {
        std::vector<bool> shown;
        for (int i = 0; i < count; ++i) {
            shown.push_back(!Control(Element(name, i))->isHidden());
        }
        return shown;
    }
    std::vector<bool> Highlights() const { return Shown("Img_Tasto", Generale::NumTasti); }
    std::vector<bool> Pad() const { return Shown("Img_Dig", Generale::NumPosizioni); }

    static std::vector<bool> Only(std::initializer_list<int> indices, int count) {
        std::vector<bool> shown(std::size_t(count), false);
        for (const int i : indices) {
            shown[std::size_t(i)] = true;
        }
        return shown;
    }

    std::vector<QString> Commands() const {
        std::vector<QString> commands;
        for (const RecordedStart& start : shell.starts) {
            EXPECT_EQ(start.style, platform::ShowStyle::NormalNoFocus);
            commands.push_back(start.commandLine);
        }
        return commands;
    }

    std::shared_ptr<FakeJoystickDriver> driver = std::make_shared<FakeJoystickDriver>();
    TempProgramDirectory dir;
    RecordingShell shell;
    std::unique_ptr<MainForm> form;
};
