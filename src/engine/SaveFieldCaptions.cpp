#include "SaveFieldCaptions.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"

SaveFieldCaptions SaveFieldCaptions::read(Connection &cnn, const QString &templateId)
{
    SaveFieldCaptions captions;
    bool ok = false;
    const qint64 id = templateId.trimmed().toLongLong(&ok);
    if (!ok)
        return captions;
    auto rs = cnn.Query(QStringLiteral("SELECT CardSection, FieldName, CardFormula1 FROM voucheritems WHERE VT_ID = ?"),
                        {id});
    if (!rs)
        return captions;
    for (int r = 0; r < rs->RecordCount(); ++r) {
        const QString caption = rs->value(r, 2).toString().trimmed();
        if (caption.isEmpty())
            continue;
        const Section section
            = rs->value(r, 0).toString().trimmed().compare(QLatin1String("b"), Qt::CaseInsensitive) == 0 ? Body : Head;
        captions.m_captions[section].insert(rs->value(r, 1).toString().trimmed().toLower(), caption);
    }
    return captions;
}

QString SaveFieldCaptions::caption(Section section, const QString &field) const
{
    const QString name = field.toLower();
    const QHash<QString, QString> &known = m_captions[section];
    if (const auto it = known.constFind(name); it != known.cend())
        return *it;
    if (name.endsWith(QLatin1String("code"))) {
        const QString nameField = name.left(name.size() - 4) + QStringLiteral("name");
        if (const auto it = known.constFind(nameField); it != known.cend())
            return *it;
    }
    return name;
}

QString SaveFieldCaptions::place(Section section, const QString &field, int line) const
{
    const QString where = section == Head ? QStringLiteral("表头") : QStringLiteral("表体第%1行").arg(line);
    return where + QStringLiteral(" [") + caption(section, field) + QStringLiteral("] ");
}
