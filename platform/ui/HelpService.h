#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <string>
#include <string_view>

// The program's help object: bound to a help file and a help key, it shows the help's contents
// in a help window. F1 pressed in any window of the program is delivered as the help key, and
// the help key shows the contents. The pages of a help file are HTML pages in one folder,
// compiled into the program under ":/help"; index.html is the contents page.
namespace platform::ui {

class HelpWindow;

class HelpService : public QObject
{
    Q_OBJECT

public:
    explicit HelpService(QObject* parent = nullptr);
    ~HelpService() override;

    // helpKey is a key code (virtual key, 0x7B for F12). Watches the keyboard from now on.
    void init(std::string_view helpFile, int helpKey);
    // Shows (or brings forward) the help window at its contents page; false when the help's
    // pages cannot be found (the window then says so).
    bool showContents();
    // Closes the help window; the object stays bound.
    void close();
    // close() and stops watching the keyboard.
    void kill();

    const std::string& helpFile() const { return m_helpFile; }
    int helpKey() const { return m_helpKey; }
    HelpWindow* window() const { return m_window; }

    // Where the pages are read from (tests use the source folder); ":/help" by default.
    static void setPagesFolder(const QString& folder);
    static QString pagesFolder();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::string m_helpFile;
    int m_helpKey = 0;
    bool m_watching = false;
    QPointer<HelpWindow> m_window;
};

} // namespace platform::ui
