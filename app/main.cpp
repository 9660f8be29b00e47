#include "common/modPublic.h"
#include "host/DemoDatabase.h"
#include "host/clsLogin.h"
#include "platform/Connection.h"
#include "sample/SampleObjects.h"
#include "ui/LoginDialog.h"
#include "ui/ModuleMainWindow.h"
#include "ui/InterfaceLanguage.h"
#include "ui/QtMessageService.h"
#include "ui/QtWindows.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

bool wantsCreate(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--create-database") == 0)
            return true;
    }
    return false;
}

// Creates the tables, the demo data and the demo users in the given database; no window.
int createDatabase(const QString &connectionString)
{
    if (connectionString.isEmpty()) {
        std::fprintf(stderr, "--create-database needs --database URI\n");
        return 2;
    }
    Connection cnn;
    Result<void> done = cnn.Open(connectionString, Connection::CreateIfMissing);
    if (done)
        done = DemoDatabase::install(cnn);
    if (!done) {
        std::fprintf(stderr, "%s\n", qPrintable(done.error()));
        return 1;
    }
    std::printf("Created the sample database in %s\n", qPrintable(connectionString));
    return 0;
}

} // namespace

// The suite's shell for the sample module: log in, then the module's main window.
int main(int argc, char **argv)
{
    // Creating a database needs no display, so it runs on a core application.
    const bool create = wantsCreate(argc, argv);
    std::unique_ptr<QCoreApplication> app(create ? new QCoreApplication(argc, argv) : new QApplication(argc, argv));
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("orvane-samples"));
    QCoreApplication::setApplicationVersion(QStringLiteral("0.1"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Orvane Samples — sample order-taking"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption database({QStringLiteral("d"), QStringLiteral("database")},
                                QStringLiteral("Connection string (sqlite:///path/file.db or "
                                               "postgresql://user@host:port/dbname); default: ORVANE_DATABASE "
                                               "when set, else the embedded demo database."),
                                QStringLiteral("uri"));
    QCommandLineOption createOption(QStringLiteral("create-database"),
                                    QStringLiteral("Create the tables, the demo data and the demo users in the "
                                                   "database given with --database, then exit."));
    parser.addOption(database);
    parser.addOption(createOption);
    parser.process(*app);

    QString connectionString = parser.value(database);
    if (connectionString.isEmpty())
        connectionString = qEnvironmentVariable("ORVANE_DATABASE");
    if (create)
        return createDatabase(connectionString);

    QApplication::setApplicationDisplayName(QStringLiteral("销售管理"));
    InterfaceLanguage::install(*app);
    QtMessageService messages;
    MessageService::install(&messages);
    registerSampleObjects();
    registerQtWindows();

    if (connectionString.isEmpty()) {
        auto demo = DemoDatabase::ensure();
        if (!demo) {
            QMessageBox::critical(nullptr, QStringLiteral("销售管理"), demo.error());
            return 1;
        }
        connectionString = *demo;
    }

    int rc = 0;
    {
        LoginDialog login(connectionString);
        if (connectionString.startsWith(QLatin1String("sqlite://"))) {
            login.userEdit()->setText(QString::fromLatin1(DemoDatabase::UserId));
            login.passwordEdit()->setFocus();
        }
        if (login.exec() != QDialog::Accepted)
            return 0;
        // Keep this session's function locks alive well inside their expiry.
        QTimer heartbeat;
        QObject::connect(&heartbeat, &QTimer::timeout, [session = login.login()] { session->heartbeat(); });
        heartbeat.start(std::chrono::minutes(1));
        // The module's main window, as the suite's portal shows it: the card and the list by menu
        // identifier, each opened through its entry object with a connection of the shell's own.
        std::shared_ptr<clsLogin> session = login.login();
        auto cnn = std::make_shared<Connection>();
        if (auto opened = cnn->Open(session->ConnectionString()); !opened) {
            QMessageBox::critical(nullptr, QStringLiteral("销售管理"), opened.error());
            return 1;
        }
        ModuleMainWindow shell(session, cnn);
        shell.show();
        rc = app->exec();
        unloadQtWindows();
        modPublic::clearProgramState();
    }
    MessageService::install(nullptr);
    return rc;
}
