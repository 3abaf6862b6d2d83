#include "tests/support/SmtpTestServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace testsupport {

namespace {

bool listening(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected =
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

} // namespace

SmtpTestServer::SmtpTestServer()
{
    QTemporaryDir folder;
    folder.setAutoRemove(false);
    m_folder = folder.path();
}

SmtpTestServer::~SmtpTestServer()
{
    if (m_process) {
        m_process->terminate();
        if (!m_process->waitForFinished(3000)) {
            m_process->kill();
            m_process->waitForFinished(3000);
        }
    }
    QDir(m_folder).removeRecursively();
}

QString SmtpTestServer::python()
{
    static const QString found = [] {
        for (const QString& candidate :
             {QStringLiteral("python3"), QStringLiteral("/usr/bin/python3")}) {
            QProcess probe;
            probe.start(candidate, {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")});
            if (probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit &&
                probe.exitCode() == 0)
                return candidate;
        }
        return QString();
    }();
    return found;
}

int SmtpTestServer::freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = 0;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool SmtpTestServer::start(const Options& options)
{
    m_options = options;
    const QString interpreter = python();
    if (interpreter.isEmpty()) {
        m_why = QStringLiteral("python3 -m aiosmtpd is not available");
        return false;
    }
    m_port = freePort();
    const QString mailbox = m_folder + QStringLiteral("/maildir");
    m_process = std::make_unique<QProcess>();
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(QProcess::nullDevice());
    QString certificate;
    if (m_options.requireStartTls) {
        // A certificate of its own for the STARTTLS the server offers.
        certificate = m_folder + QStringLiteral("/server.pem");
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                       QStringLiteral("rsa:2048"), QStringLiteral("-nodes"),
                       QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                       QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-keyout"), certificate,
                       QStringLiteral("-out"), certificate});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
            m_why = QStringLiteral("openssl could not make a certificate for STARTTLS");
            return false;
        }
    }
    if (m_options.user.isEmpty() && m_options.refusedRecipient.isEmpty() && certificate.isEmpty()) {
        m_process->start(interpreter,
                         {QStringLiteral("-m"), QStringLiteral("aiosmtpd"), QStringLiteral("-n"),
                          QStringLiteral("-l"), QStringLiteral("127.0.0.1:%1").arg(m_port),
                          QStringLiteral("-c"), QStringLiteral("aiosmtpd.handlers.Mailbox"),
                          mailbox});
    } else {
        // The same server with a login to pass and a recipient to refuse.
        static const char* const script = R"(
import sys, threading
from aiosmtpd.controller import Controller
from aiosmtpd.handlers import Mailbox
from aiosmtpd.smtp import AuthResult, LoginPassword
port, maildir, refused, user, password, certificate = int(sys.argv[1]), *sys.argv[2:7]
class Handler(Mailbox):
    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if refused and address == refused:
            return '550 5.1.1 No such user'
        envelope.rcpt_tos.append(address)
        return '250 OK'
def check(server, session, envelope, mechanism, data):
    return AuthResult(handled=False, success=isinstance(data, LoginPassword)
                      and data.login.decode() == user and data.password.decode() == password)
extra = dict(auth_required=True, auth_require_tls=False, authenticator=check) if user else {}
if certificate:
    import ssl
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(certificate)
    extra.update(tls_context=context, require_starttls=True)
controller = Controller(Handler(maildir), hostname='127.0.0.1', port=port, **extra)
controller.start()
threading.Event().wait()
)";
        m_process->start(interpreter, {QStringLiteral("-c"), QString::fromUtf8(script),
                                       QString::number(m_port), mailbox, m_options.refusedRecipient,
                                       m_options.user, m_options.password, certificate});
    }
    if (!m_process->waitForStarted(5000)) {
        m_why = QStringLiteral("the SMTP server did not start");
        return false;
    }
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000) {
        if (listening(m_port))
            return true;
        if (m_process->state() == QProcess::NotRunning)
            break;
        QThread::msleep(20);
    }
    m_why = QStringLiteral("the SMTP server did not listen on port %1").arg(m_port);
    return false;
}

QJsonObject SmtpTestServer::readMessage(const QString& path)
{
    static const char* const script = R"(
import base64, email, email.policy, json, sys
with open(sys.argv[1], 'rb') as f:
    m = email.message_from_binary_file(f, policy=email.policy.default)
body = m.get_body(preferencelist=('plain',))
out = {'to': str(m['To'] or ''), 'from': str(m['From'] or ''), 'subject': str(m['Subject'] or ''),
       'rcpt': str(m['X-RcptTo'] or ''), 'body': body.get_content() if body else '',
       'attachments': [{'filename': a.get_filename(), 'type': a.get_content_type(),
                        'charset': a.get_param('charset') or '',
                        'base64': base64.b64encode(a.get_payload(decode=True)).decode()}
                       for a in m.iter_attachments()]}
print(json.dumps(out))
)";
    const QString interpreter = python().isEmpty() ? QStringLiteral("python3") : python();
    QProcess reader;
    reader.start(interpreter, {QStringLiteral("-c"), QString::fromUtf8(script), path});
    if (!reader.waitForFinished(10000) || reader.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}

QStringList SmtpTestServer::messagePaths() const
{
    QDir folder(m_folder + QStringLiteral("/maildir/new"));
    QFileInfoList files = folder.entryInfoList(QDir::Files);
    std::sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.lastModified() == b.lastModified() ? a.fileName() < b.fileName()
                                                    : a.lastModified() < b.lastModified();
    });
    QStringList paths;
    for (const QFileInfo& file : files)
        paths << file.absoluteFilePath();
    return paths;
}

} // namespace testsupport
