#pragma once

#include "app/dictionary/DeferredDamageCheck.h"
#include "platform/ui/WindowController.h"
#include "platform/ui/list/BrowseList.h"
#include "platform/ui/list/InPlaceEditor.h"
#include "platform/ui/list/WindowResizer.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::storage {
class FileRelation;
class RecordFile;
} // namespace platform::storage

namespace platform::ui {
class ListControl;
}

// The reference-list window that procman and procprim share: one file listed by name in
// ?BROWSE:1 and kept by editing its rows in place with the Add, Change and Delete buttons.
namespace app {

struct ReferenceListSetup
{
    std::string module;
    std::string label;
    std::string procedure;
    platform::storage::RecordFile& (*file)();
    platform::storage::FileRelation* (*relation)();
    int key;
    std::vector<int> fields; // layout fields of the columns
    int lineHeight;
    int fontPoints; // the first column's font, bold
    bool typeAhead; // false: a step locator on the first field with no control of its own
};

class ReferenceListWindow : public platform::ui::WindowController
{
public:
    explicit ReferenceListWindow(ReferenceListSetup setup);
    ~ReferenceListWindow() override;

    int init() override;
    int kill() override;
    // After every event: a list file found damaged is offered to be made anew.
    int takeEvent() override;

    platform::ui::BrowseList* list() const { return m_list.get(); }
    platform::ui::InPlaceEditor* editor() const { return m_editor.get(); }

    // The list's status text.
    static const char* statusText() { return "Browsing Records"; }

protected:
    // Runs after the file was opened; false keeps the window from opening.
    virtual bool admit() { return true; }

private:
    // Asked once while the window runs, unless the file was made anew.
    void offerNewFileWhenDamaged();

    ReferenceListSetup m_setup;
    std::unique_ptr<platform::ui::BrowseList> m_list;
    std::unique_ptr<platform::ui::InPlaceEditor> m_editor;
    std::unique_ptr<platform::ui::WindowResizer> m_resizer;
    platform::ui::ListControl* m_control = nullptr;
    bool m_fileOpened = false;
    bool m_newFileAsked = false;
    bool m_offering = false;
    DeferredDamageCheck m_damageCheck{[this] { offerNewFileWhenDamaged(); }};
};

} // namespace app
