#include "ForbiddenCharValidator.h"

ForbiddenCharValidator::ForbiddenCharValidator(QString forbidden, QObject *parent)
    : QValidator(parent)
    , m_forbidden(std::move(forbidden))
{}

QValidator::State ForbiddenCharValidator::validate(QString &input, int &) const
{
    return allows(m_forbidden, input) ? Acceptable : Invalid;
}

bool ForbiddenCharValidator::allows(const QString &forbidden, const QString &text)
{
    for (const QChar c : forbidden) {
        if (text.contains(c))
            return false;
    }
    return true;
}
