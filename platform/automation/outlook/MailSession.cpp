#include "platform/automation/outlook/MailSession.h"

#include "platform/automation/outlook/MailAccountDialog.h"
#include "platform/automation/outlook/OutlookItem.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

#include <QApplication>
#include <QDir>

namespace platform::automation::outlook {

using platform::text::fromQString;
using platform::text::w;

MailSession::MailSession(std::string storePath) : m_storePath(std::move(storePath))
{
}

MailStore& MailSession::store()
{
    if (!m_store)
        m_store = std::make_unique<MailStore>(m_storePath.empty() ? MailStore::defaultPath()
                                                                  : m_storePath);
    return *m_store;
}

std::shared_ptr<OutlookItem> MailSession::item(int64_t id)
{
    const auto it = m_items.find(id);
    if (it != m_items.end()) {
        if (auto live = it->second.lock())
            return live;
    }
    auto stored = store().load(id);
    if (!stored)
        return nullptr;
    auto loaded = std::make_shared<OutlookItem>(shared_from_this(), std::move(*stored));
    m_items[id] = loaded;
    return loaded;
}

std::shared_ptr<OutlookItem> MailSession::itemWithEntryId(const std::string& entryId)
{
    const auto id = store().findEntryId(entryId);
    return id ? item(*id) : nullptr;
}

std::shared_ptr<OutlookItem> MailSession::newItem(int kind)
{
    StoredItem fresh;
    fresh.kind = kind;
    return std::make_shared<OutlookItem>(shared_from_this(), std::move(fresh));
}

void MailSession::keep(const std::shared_ptr<OutlookItem>& item, int64_t id)
{
    m_items[id] = item;
}

MailSession::AccountPrompt& MailSession::prompt()
{
    static AccountPrompt installed;
    return installed;
}

MailSession::AccountPrompt MailSession::setAccountPrompt(AccountPrompt replacement)
{
    AccountPrompt previous = std::move(prompt());
    prompt() = std::move(replacement);
    return previous;
}

std::optional<MailAccount> MailSession::account(std::string* whyNot)
{
    const QString path = MailAccount::defaultPath();
    const std::string shownPath = fromQString(QDir::toNativeSeparators(path));
    switch (MailAccount::keepPrivate(path)) {
    case MailAccount::Privacy::Private:
        break;
    case MailAccount::Privacy::Narrowed:
        // The password may have been read already: only the user can judge, so the user is told.
        platform::ui::message(w("Файл учётной записи почты ") + shownPath +
                                  w(" могли читать другие пользователи, а в нём пароль. Теперь "
                                    "он доступен только вам. Если пароль мог попасть в чужие "
                                    "руки, смените его."),
                              w("Сообщение"), platform::ui::MessageIcon::Exclamation);
        break;
    case MailAccount::Privacy::Exposed:
        if (whyNot)
            *whyNot = w("файл учётной записи почты ") + shownPath +
                      w(" могут читать другие пользователи, а закрыть его от них не удалось; "
                        "владелец файла может сделать это командой chmod 600 \"") +
                      shownPath + "\"";
        return std::nullopt;
    }
    auto account = MailAccount::load(path);
    if (account && account->complete())
        return account;
    if (m_accountAsked)
        return std::nullopt;
    m_accountAsked = true;
    std::optional<MailAccount> answer;
    if (prompt())
        answer = prompt()();
    else if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        answer = MailAccountDialog::ask(account.value_or(MailAccount{}));
    if (!answer || !answer->complete())
        return std::nullopt;
    answer->save();
    return answer;
}

} // namespace platform::automation::outlook
