#pragma once

#include <optional>
#include <string>
#include <vector>

// A window definition as loaded from resources/windows/<module>.json. Texts are Windows-1251.
namespace platform::ui {

struct FontDefinition
{
    std::string name; // empty: the window's (or the system's) font
    int size = 0;     // points; 0: inherited
    int weight = 0;   // 400 normal, 700 bold; 0: inherited
    int colour = -1;  // 0x00BBGGRR; -1: default
    int charSet = -1; // -1: the program-wide default
    bool italic = false;
};

// Positions are in dialog units; an absent value is the default.
struct Placement
{
    std::optional<int> x;
    std::optional<int> y;
    std::optional<int> width;
    std::optional<int> height;
};

struct ControlDefinition
{
    int number = 0; // from 1 in declaration order; menu items and toolbar buttons negative
    int parent = 0; // the tab, option group or menu holding the control; 0: the window
    std::string label;
    std::string kind;
    std::string text;
    Placement at;
    FontDefinition font;
    int background = -1;
    bool hidden = false;
    bool disabled = false;
    bool password = false; // an entry shows a dot for each character typed
    bool fileName = false; // an entry for a file or folder name
    std::vector<int> alertKeys;
    std::string use;     // the name of the bound variable
    std::string picture; // entry and display pictures: "n8", "n11.2", "n8b", "s50"
    std::string tooltip;
    std::string cursor; // "hand", "wait" or empty
    std::string icon;
    std::string action;          // a standard action: "close"
    std::string value;           // a radio's value
    std::string trueValue = "1"; // check box values
    std::string falseValue = "0";
    std::string dragId;
    std::string dropId;
    std::string format; // a list's column layout (docs/lists.md)
};

struct WindowDefinition
{
    std::string file; // where it was read from, for messages
    std::string module;
    std::string label;
    std::string kind; // "frame", "window" or "dialog"
    std::string title;
    Placement at;
    FontDefinition font;
    int timer = 0; // hundredths of a second; 0: none
    std::string icon;
    std::vector<int> alertKeys;
    std::vector<ControlDefinition> controls;  // numbers 1, 2, ... in order
    std::vector<ControlDefinition> menuItems; // menus, items and toolbar buttons: -1, -2, ...
};

} // namespace platform::ui
