#pragma once

#include "platform/automation/outlook/MailAccount.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLineEdit;
class QSpinBox;

namespace platform::automation::outlook {

// The small dialog in which the user sets up the account mail is sent with: server, port,
// connection security, user name, password and the sender's address.
class MailAccountDialog : public QDialog
{
public:
    explicit MailAccountDialog(const MailAccount& account, QWidget* parent = nullptr);

    MailAccount account() const;

    // Shows the dialog modally; nothing when it was cancelled.
    static std::optional<MailAccount> ask(const MailAccount& start);

private:
    void securityChanged();
    void updateAccept();

    QLineEdit* m_server;
    QSpinBox* m_port;
    QComboBox* m_security;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QLineEdit* m_sender;
    QPushButton* m_accept = nullptr;
};

} // namespace platform::automation::outlook
