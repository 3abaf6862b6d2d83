#include "platform/ui/EntryControl.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/UnusableLetters.h"
#include "platform/ui/Window.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QTimer>

namespace platform::ui {

EntryControl::EntryControl(Window& window, const ControlDefinition& definition, QWidget* parent)
    : Control(window, definition), m_edit(new QLineEdit(parent))
{
    if (definition.password)
        m_edit->setEchoMode(QLineEdit::Password);
    if (m_picture.width() > 0)
        m_edit->setMaxLength(m_picture.width() + (m_picture.isNumeric() ? 1 : 0));
    if (m_picture.isNumeric()) {
        // Only what the picture can hold: an optional sign, as many whole digits as it has
        // places for (the width less the point and the decimals) and the decimals it allows.
        const int decimals = m_picture.decimals();
        const int places = m_picture.width() - (decimals > 0 ? decimals + 1 : 0);
        const QString whole =
            places > 0 ? QStringLiteral("-?[0-9]{0,%1}").arg(places) : QStringLiteral("-?[0-9]*");
        const QString pattern =
            decimals > 0 ? whole + QStringLiteral("([.,][0-9]{0,%1})?").arg(decimals) : whole;
        m_edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), m_edit));
        m_edit->setAlignment(Qt::AlignRight);
    }
    m_edit->setText(text::toQString(m_text));
    applyAppearance();
    QObject::connect(m_edit, &QLineEdit::textEdited, m_edit, [this](const QString& now) {
        if (takesBackUnusableLetters(now))
            return;
        m_edited = true;
        m_window.raise(Event::NewSelection, number());
    });
    QObject::connect(m_edit, &QLineEdit::editingFinished, m_edit, [this] {
        if (m_edited)
            complete();
    });
    QObject::connect(m_edit, &QLineEdit::returnPressed, m_edit, [this] {
        if (!m_edited)
            complete();
    });
}

// Letters Windows-1251 cannot hold would be stored as "?": what was typed or pasted with them
// is taken back at once, and the person is told which they are.
bool EntryControl::takesBackUnusableLetters(const QString& now)
{
    const std::u32string outside = text::charactersOutsideCp1251(now);
    if (outside.empty())
        return false;
    // The rest stays as typed, the cursor where it was among it.
    const int cursor = m_edit->cursorPosition();
    QString kept;
    int keptBeforeCursor = 0;
    for (int at = 0; at < now.size();) {
        const int length = now.at(at).isHighSurrogate() && at + 1 < now.size() ? 2 : 1;
        const QString letter = now.mid(at, length);
        if (text::charactersOutsideCp1251(letter).empty()) {
            kept += letter;
            if (at < cursor)
                keptBeforeCursor += length;
        }
        at += length;
    }
    m_edit->setText(kept);
    m_edit->setCursorPosition(keptBeforeCursor);
    const std::string told = unusableLettersMessage(outside, m_definition.fileName);
    // Told once the key press is over, not from inside the entry's own handling of it.
    QTimer::singleShot(0, m_edit, [told] {
        messageUnicode(told, text::w("Ошибка"), MessageIcon::Hand);
    });
    return true;
}

std::string EntryControl::text() const
{
    return text::fromQString(m_edit->text());
}

std::string EntryControl::shownText() const
{
    // A password shows a dot (Windows-1251 0x95, the bullet) for each character.
    if (m_edit->echoMode() == QLineEdit::Password)
        return std::string(static_cast<std::size_t>(m_edit->text().size()), '\x95');
    return text();
}

std::string EntryControl::shownValue() const
{
    return m_picture.entryText(*m_binding);
}

void EntryControl::showText(const QString& text)
{
    m_edit->setText(text);
    m_edited = false;
}

void EntryControl::takeScreenValue()
{
    if (!m_binding)
        return;
    const std::string typed = text();
    if (m_picture.isEmpty())
        m_binding->setText(typed);
    else
        m_picture.take(typed, *m_binding);
    // The variable now matches the screen, so the next refresh shows its normal form only
    // when the program changes it.
    m_lastShown = shownValue();
    m_shownOnce = true;
}

bool EntryControl::completePending()
{
    if (!m_edited)
        return false;
    complete();
    return true;
}

void EntryControl::complete()
{
    m_edited = false;
    takeScreenValue();
    m_window.raise(Event::Accepted, number());
}

void EntryControl::typeText(const QString& text)
{
    m_edit->setFocus();
    m_edit->selectAll();
    if (text.isEmpty()) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QCoreApplication::sendEvent(m_edit, &press);
        return;
    }
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(m_edit, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(m_edit, &release);
    }
}

} // namespace platform::ui
