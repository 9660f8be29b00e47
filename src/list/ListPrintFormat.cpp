#include "ListPrintFormat.h"

#include <QRegularExpression>

namespace ListPrintFormat {

namespace {

const QList<QPair<PageSetup::Paper, QString>> &papers()
{
    static const QList<QPair<PageSetup::Paper, QString>> list{{PageSetup::Paper::A4, QStringLiteral("A4")},
                                                              {PageSetup::Paper::A3, QStringLiteral("A3")},
                                                              {PageSetup::Paper::A5, QStringLiteral("A5")},
                                                              {PageSetup::Paper::Letter, QStringLiteral("Letter")}};
    return list;
}

QString attribute(const QString &text, const QString &name)
{
    const QRegularExpression re(name + QStringLiteral("\\s*=\\s*\"([^\"]*)\""));
    const auto match = re.match(text);
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace

QString toText(const PageSetup &page)
{
    QString paper = QStringLiteral("A4");
    for (const auto &p : papers()) {
        if (p.first == page.paper)
            paper = p.second;
    }
    return QStringLiteral("<打印格式 纸张=\"%1\" 方向=\"%2\" 边距=\"%3\"/>")
        .arg(paper, page.landscape ? QStringLiteral("横向") : QStringLiteral("纵向"), QString::number(page.marginMm));
}

PageSetup fromText(const QString &text)
{
    PageSetup page;
    // A list is wide: landscape unless the stored format says otherwise.
    page.landscape = true;
    if (text.trimmed().isEmpty())
        return page;
    const QString paper = attribute(text, QStringLiteral("纸张"));
    for (const auto &p : papers()) {
        if (p.second.compare(paper, Qt::CaseInsensitive) == 0)
            page.paper = p.first;
    }
    page.landscape = attribute(text, QStringLiteral("方向")) == QStringLiteral("横向");
    bool ok = false;
    const double margin = attribute(text, QStringLiteral("边距")).toDouble(&ok);
    if (ok && margin >= 0 && margin <= 50)
        page.marginMm = margin;
    return page;
}

} // namespace ListPrintFormat
