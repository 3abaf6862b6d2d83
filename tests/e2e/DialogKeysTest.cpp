#include "app/dictionary/Dictionary.h"
#include "app/ipmprice/Ipmprice.h"
#include "app/procoprog/Procoprog.h"
#include "app/procvyg/Procvyg.h"
#include "app/proczap/Proczap.h"
#include "app/vybproc/Vybproc.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/ThreadRegistry.h"
#include "tests/support/TempWorkFolder.h"

#include "ProgramSession.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

// The keys a person presses in any dialog: Esc does what the close box does, and Enter presses
// a dialog's only button wherever the focus is.
using namespace platform::ui;

namespace {

class DialogKeys : public ::testing::Test
{
protected:
    void SetUp() override { app::DictionaryInit(); }
    void TearDown() override { app::DictionaryKill(); }

    // Closes the dialog once by its close box and once by the key; both must close it with the
    // same result.
    static void closeBoxAndKeyAgree(const char* title, const std::string& key,
                                    const std::function<std::string()>& dialog)
    {
        std::string byBox;
        std::string byKey;
        TestDriver box;
        box.waitOpen(title).close().waitClose(title);
        EXPECT_EQ(e2e::runAlongside(
                      box, [&] { byBox = dialog(); }, 15000),
                  "")
            << title;
        TestDriver pressed;
        pressed.waitOpen(title).waitIdle().key("", key).waitClose(title, 3000);
        EXPECT_EQ(e2e::runAlongside(
                      pressed, [&] { byKey = dialog(); }, 15000),
                  "")
            << title << ": " << key << " left it open";
        EXPECT_EQ(byKey, byBox) << title;
    }

    testsupport::TempWorkFolder m_folder;
};

TEST_F(DialogKeys, EscDoesWhatTheCloseBoxDoesAndTheOnlyButtonIsTheDefault)
{
    closeBoxAndKeyAgree("Выборка", "Esc", [] { return app::vybproc("", 0, 0, 0, 0); });
    closeBoxAndKeyAgree("Запрос подтверждения", "Esc",
                        [] { return std::to_string(app::proczap(2)); });
    closeBoxAndKeyAgree("Загрузка прайс-листа", "Esc",
                        [] { return std::to_string(app::ipmprice()); });
    ASSERT_EQ(app::RelateKORZAK->open(), 0);
    closeBoxAndKeyAgree("Сохранение/Выгрузка заказа", "Esc", [] {
        app::procvyg(1, 0);
        return std::string();
    });
    app::RelateKORZAK->close();

    // The about box runs beside the frame's other windows; Esc closes it, and so does Enter
    // as it opens, before any Tab.
    for (const char* key : {"Esc", "Enter"}) {
        TestDriver driver;
        driver.waitOpen("О программе").waitIdle().key("", key).waitClose("О программе", 3000);
        ThreadRegistry::start(app::procoprog, 25000);
        EXPECT_EQ(driver.run(15000), "") << key;
    }
}

} // namespace
