#pragma once

#include "platform/automation/outlook/MailAccount.h"
#include "platform/automation/outlook/MailStore.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace platform::automation::outlook {

class OutlookItem;

// What the objects of one mail-server application share: the store (opened on first use), one
// live object per stored item, and the account mail is sent with.
class MailSession : public std::enable_shared_from_this<MailSession>
{
public:
    explicit MailSession(std::string storePath = {});

    MailStore& store();
    // The live object of a stored item (loaded on first use); nullptr when there is none.
    std::shared_ptr<OutlookItem> item(int64_t id);
    std::shared_ptr<OutlookItem> itemWithEntryId(const std::string& entryId);
    std::shared_ptr<OutlookItem> newItem(int kind);
    void keep(const std::shared_ptr<OutlookItem>& item, int64_t id);

    // The account from its settings file. When there is none the user is asked for it, once in
    // the session's life, and the answer is kept in the file. A file others may read is made the
    // user's alone first, and the user is told; one that cannot be is not used, and whyNot (when
    // given) says how to mend it.
    std::optional<MailAccount> account(std::string* whyNot = nullptr);

    // Stands in for the account dialog (tests); an empty handler restores the dialog.
    using AccountPrompt = std::function<std::optional<MailAccount>()>;
    static AccountPrompt setAccountPrompt(AccountPrompt prompt);

private:
    static AccountPrompt& prompt();

    std::string m_storePath;
    std::unique_ptr<MailStore> m_store;
    std::map<int64_t, std::weak_ptr<OutlookItem>> m_items;
    bool m_accountAsked = false;
};

} // namespace platform::automation::outlook
