#include "platform/automation/outlook/MailAccountDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace platform::automation::outlook {

MailAccountDialog::MailAccountDialog(const MailAccount& account, QWidget* parent)
    : QDialog(parent), m_server(new QLineEdit(account.server, this)), m_port(new QSpinBox(this)),
      m_security(new QComboBox(this)), m_user(new QLineEdit(account.user, this)),
      m_password(new QLineEdit(account.password, this)),
      m_sender(new QLineEdit(account.sender, this))
{
    setWindowTitle(QStringLiteral("Учётная запись почты"));
    setObjectName(QStringLiteral("MailAccountDialog"));
    m_server->setObjectName(QStringLiteral("server"));
    m_port->setObjectName(QStringLiteral("port"));
    m_security->setObjectName(QStringLiteral("security"));
    m_user->setObjectName(QStringLiteral("user"));
    m_password->setObjectName(QStringLiteral("password"));
    m_sender->setObjectName(QStringLiteral("sender"));
    m_port->setRange(1, 65535);
    m_port->setValue(account.port);
    m_security->addItem(QStringLiteral("STARTTLS"),
                        static_cast<int>(MailAccount::Security::StartTls));
    m_security->addItem(QStringLiteral("SSL/TLS"), static_cast<int>(MailAccount::Security::Tls));
    m_security->addItem(QStringLiteral("Нет"), static_cast<int>(MailAccount::Security::None));
    m_security->setCurrentIndex(m_security->findData(static_cast<int>(account.security)));
    m_password->setEchoMode(QLineEdit::Password);
    m_server->setPlaceholderText(QStringLiteral("smtp.example.ru"));
    m_sender->setPlaceholderText(QStringLiteral("name@example.ru"));

    auto* intro =
        new QLabel(QStringLiteral("Для отправки почты укажите сервер исходящей почты (SMTP) "
                                  "и свой адрес. Настройки сохраняются и больше не "
                                  "запрашиваются."),
                   this);
    intro->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Сервер SMTP:"), m_server);
    form->addRow(QStringLiteral("Порт:"), m_port);
    form->addRow(QStringLiteral("Защита соединения:"), m_security);
    form->addRow(QStringLiteral("Имя пользователя:"), m_user);
    form->addRow(QStringLiteral("Пароль:"), m_password);
    form->addRow(QStringLiteral("Адрес отправителя:"), m_sender);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_accept = buttons->button(QDialogButtonBox::Ok);
    m_accept->setText(QStringLiteral("Сохранить"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(440);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_security, &QComboBox::currentIndexChanged, this, [this] { securityChanged(); });
    connect(m_server, &QLineEdit::textChanged, this, [this] { updateAccept(); });
    connect(m_sender, &QLineEdit::textChanged, this, [this] { updateAccept(); });
    updateAccept();
}

void MailAccountDialog::securityChanged()
{
    // The usual port of each kind of connection, unless the user chose another one.
    const int usual[] = {25, 587, 465};
    const auto security = static_cast<MailAccount::Security>(m_security->currentData().toInt());
    if (m_port->value() == 25 || m_port->value() == 587 || m_port->value() == 465)
        m_port->setValue(usual[security == MailAccount::Security::None       ? 0
                               : security == MailAccount::Security::StartTls ? 1
                                                                             : 2]);
}

void MailAccountDialog::updateAccept()
{
    m_accept->setEnabled(!m_server->text().trimmed().isEmpty() &&
                         m_sender->text().contains(QLatin1Char('@')));
}

MailAccount MailAccountDialog::account() const
{
    MailAccount account;
    account.server = m_server->text().trimmed();
    account.port = m_port->value();
    account.security = static_cast<MailAccount::Security>(m_security->currentData().toInt());
    account.user = m_user->text().trimmed();
    account.password = m_password->text();
    account.sender = m_sender->text().trimmed();
    return account;
}

std::optional<MailAccount> MailAccountDialog::ask(const MailAccount& start)
{
    MailAccountDialog dialog(start);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.account();
}

} // namespace platform::automation::outlook
