#include "ForbiddenCharValidator.h"

#include "common/NumberText.h"

#include <QRegularExpression>
#include <QToolTip>
#include <QWidget>

ForbiddenCharValidator::ForbiddenCharValidator(QString forbidden, QObject *parent)
    : QValidator(parent)
    , m_forbidden(std::move(forbidden))
{}

QValidator::State ForbiddenCharValidator::validate(QString &input, int &) const
{
    auto *editor = qobject_cast<QWidget *>(parent());
    if (!allows(m_forbidden, input)) {
        hint(editor, QStringLiteral("不能输入这些字符：%1").arg(m_forbidden));
        return Invalid;
    }
    if (!m_numbersOnly || input.trimmed().isEmpty())
        return Acceptable;
    // A number on its way ("-", "1.") is fine while typing; letters and exponents never are.
    static const QRegularExpression partial(QStringLiteral("^\\s*[+-]?\\d*\\.?\\d*\\s*$"));
    if (!partial.match(input).hasMatch()) {
        hint(editor, QStringLiteral("[%1]不是数字，只能输入数字").arg(m_caption));
        return Invalid;
    }
    const QString t = input.trimmed();
    if (t == QLatin1String("+") || t == QLatin1String("-") || t == QLatin1String(".") || t.endsWith(u'.'))
        return Intermediate;
    if (!NumberText::parse(t)) {
        hint(editor, QStringLiteral("[%1]数值太大").arg(m_caption));
        return Invalid;
    }
    return Acceptable;
}

bool ForbiddenCharValidator::allows(const QString &forbidden, const QString &text)
{
    for (const QChar c : forbidden) {
        if (text.contains(c))
            return false;
    }
    return true;
}

void ForbiddenCharValidator::hint(QWidget *editor, const QString &text)
{
    if (!editor)
        return;
    QToolTip::showText(editor->mapToGlobal(QPoint(0, editor->height())), text, editor);
}
