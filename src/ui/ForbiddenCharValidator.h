#pragma once

#include <QValidator>

// Refuses typed text that holds any of a set of characters: the keystroke that would add one is
// dropped, as is a paste that contains one.
class ForbiddenCharValidator : public QValidator
{
    Q_OBJECT

public:
    explicit ForbiddenCharValidator(QString forbidden, QObject *parent = nullptr);

    void setForbidden(const QString &forbidden) { m_forbidden = forbidden; }
    const QString &forbidden() const { return m_forbidden; }

    State validate(QString &input, int &pos) const override;

    // True when `text` holds none of the characters of `forbidden`.
    static bool allows(const QString &forbidden, const QString &text);

private:
    QString m_forbidden;
};
