#pragma once

#include "platform/ui/GroupControl.h"

#include <QButtonGroup>

namespace platform::ui {

class RadioControl;

// An option group: its variable holds the value of the chosen radio. Choosing a radio takes
// the value and raises the accepted event of the group.
class OptionControl : public GroupControl
{
public:
    OptionControl(Window& window, const ControlDefinition& definition, QWidget* parent);

    int typeCode() const override { return TypeCode::Option; }
    void refresh(bool force) override;
    void takeScreenValue() override;
    std::string state() const override;
    std::string property(Property property) const override;
    bool setProperty(Property property, std::string_view value) override;

    void addRadio(RadioControl& radio);
    void radioChosen();

private:
    RadioControl* chosen() const;
    void choose(std::string_view value);

    QButtonGroup* m_group;
    std::vector<RadioControl*> m_radios;
};

} // namespace platform::ui
