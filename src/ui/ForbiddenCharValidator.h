#pragma once

#include <QValidator>

class QWidget;

// Refuses typed text that holds any of a set of characters, and (for number items) text that is
// no number or too large a one: the keystroke is dropped, as is such a paste, and a short hint at
// the editor says why, so nothing vanishes silently.
class ForbiddenCharValidator : public QValidator
{
    Q_OBJECT

public:
    // `parent` is the editor the hint is shown at.
    explicit ForbiddenCharValidator(QString forbidden, QObject *parent = nullptr);

    void setForbidden(const QString &forbidden) { m_forbidden = forbidden; }
    const QString &forbidden() const { return m_forbidden; }
    // Takes digits with a sign and a decimal point only, up to the largest value a column holds;
    // the hint names the item by `caption`.
    void setNumbersOnly(bool numbersOnly, const QString &caption = {})
    {
        m_numbersOnly = numbersOnly;
        m_caption = caption;
    }

    State validate(QString &input, int &pos) const override;

    // True when `text` holds none of the characters of `forbidden`.
    static bool allows(const QString &forbidden, const QString &text);
    // Shows a short hint below an editor.
    static void hint(QWidget *editor, const QString &text);

private:
    QString m_forbidden;
    bool m_numbersOnly = false;
    QString m_caption;
};
