#pragma once

#include "app/vybproc/ListPressWatcher.h"
#include "app/vybproc/MarkList.h"
#include "platform/storage/Bindings.h"
#include "platform/text/FixedString.h"
#include "platform/ui/WindowController.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform::ui {
class ListControl;
}

// The selection dialog "Выборка": the applicability and manufacturer modes, the phrase, and the
// marks of the manufacturers (PROIZ) and applicability types (SPRPR), toggled by a left click on
// a row's check box. The marks are written at once; the modes come back in the result string.
namespace app {

class Vybproc : public platform::ui::WindowController
{
public:
    Vybproc(std::string_view phrase, uint8_t applicabilityMode, uint8_t manufacturerMode,
            uint8_t showOnlyMarkedTypes, uint8_t showOnlyMarkedManufacturers);
    ~Vybproc() override;

    int init() override;
    int kill() override;
    int takeEvent() override;
    int takeAccepted() override;
    int takeNewSelection() override;

    // SelectionResultString: 55 blanks unless applied.
    const std::string& result() const { return m_result; }

    MarkList* manufacturerList() const { return m_manufacturers.list.get(); }
    MarkList* typeList() const { return m_types.list.get(); }

private:
    struct Side
    {
        std::unique_ptr<MarkList> list;
        platform::ui::ListControl* control = nullptr;
        std::unique_ptr<ListPressWatcher> watcher;
        uint8_t refresh = 2;
        uint8_t skipNextSelection = 0;
    };

    void setUpList(Side& side, platform::storage::RecordFile& file, std::size_t markOffset,
                   int key, const char* nameField, const char* locatorShown,
                   const char* filter, const void* showOnly, std::size_t showOnlySize);
    void applyApplicabilityVisibility();
    void applyManufacturerVisibility();
    void toggleHighlighted(Side& side);
    void clearMarks(Side& side);
    bool apply();
    void releaseLists();

    uint8_t m_applicability;
    uint8_t m_manufacturer;
    platform::text::FixedString<50> m_phrase;
    int16_t m_showOnlyManufacturers;
    uint8_t m_showOnlyTypes;
    int32_t m_markedManufacturers = 0;
    int32_t m_markedTypes = 0;
    uint8_t m_iconValue = 0;
    std::string m_result;

    Side m_manufacturers;
    Side m_types;
    platform::storage::Bindings m_bindings;
    bool m_proizOpened = false;
    bool m_sprprOpened = false;
};

// Runs the dialog on the calling thread; the SelectionResultString.
std::string vybproc(std::string_view phrase, uint8_t applicabilityMode, uint8_t manufacturerMode,
                    uint8_t showOnlyMarkedTypes, uint8_t showOnlyMarkedManufacturers);

} // namespace app
