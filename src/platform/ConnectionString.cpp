#include "ConnectionString.h"

#include <QUrl>
#include <QUrlQuery>

Result<ConnectionString> ConnectionString::parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    ConnectionString cs;
    if (trimmed.startsWith(QLatin1String("sqlite://"), Qt::CaseInsensitive)) {
        cs.backend = Backend::Sqlite;
        cs.path = QUrl::fromPercentEncoding(trimmed.mid(9).toUtf8());
        if (cs.path.isEmpty())
            return fail(QStringLiteral("连接串没有指明数据库文件：%1").arg(text));
        return cs;
    }
    if (trimmed.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
        || trimmed.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive)) {
        const QUrl url(trimmed, QUrl::StrictMode);
        if (!url.isValid() || url.host().isEmpty())
            return fail(QStringLiteral("连接串格式不正确：%1").arg(text));
        cs.backend = Backend::Postgres;
        cs.host = url.host();
        cs.port = url.port(5432);
        cs.user = url.userName();
        cs.password = url.password();
        cs.database = url.path().mid(1);
        if (cs.database.isEmpty() || cs.database.contains(QLatin1Char('/')))
            return fail(QStringLiteral("连接串没有指明数据库：%1").arg(text));
        cs.schema = QUrlQuery(url).queryItemValue(QStringLiteral("schema"));
        return cs;
    }
    return fail(QStringLiteral("无法识别的连接串：%1").arg(text));
}

QString ConnectionString::toString() const
{
    if (backend == Backend::Sqlite)
        return QStringLiteral("sqlite://") + path;
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setHost(host);
    url.setPort(port);
    url.setUserName(user);
    url.setPath(QLatin1Char('/') + database);
    if (!schema.isEmpty()) {
        QUrlQuery q;
        q.addQueryItem(QStringLiteral("schema"), schema);
        url.setQuery(q);
    }
    return url.toString();
}
