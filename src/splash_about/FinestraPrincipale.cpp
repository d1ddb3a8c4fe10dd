#include "splash_about/FinestraPrincipale.h"

#include "assign/frmAssegna.h"
#include "splash_about/frmAbout.h"

std::unique_ptr<MainForm> CreaFinestraPrincipale(const std::shared_ptr<platform::JoystickDriver>& driver,
                                                 platform::Shell& shell) {
    auto mainForm = std::make_unique<MainForm>(driver, shell);
    mainForm->SetAssegnaLoader([driver, &shell](MainForm& main) -> std::unique_ptr<QWidget> {
        return std::make_unique<frmAssegna>(main, driver, shell);
    });
    mainForm->SetAboutLoader([&shell](MainForm& main) -> std::unique_ptr<QWidget> {
        return std::make_unique<frmAbout>(&main, shell);
    });
    return mainForm;
}
