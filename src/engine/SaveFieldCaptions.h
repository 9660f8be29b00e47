#pragma once

#include <QHash>
#include <QString>

class Connection;

// The captions a display template gives the fields of a voucher, for messages that name a field
// the way the card shows it. A field the template does not name is called by its own name.
class SaveFieldCaptions
{
public:
    enum Section { Head, Body };

    SaveFieldCaptions() = default;
    // Reads the captions of the template templateId (voucheritems). A template that cannot be read
    // leaves the field names as the captions: a message is never lost for want of a caption.
    static SaveFieldCaptions read(Connection &cnn, const QString &templateId);

    // The caption of a field; a code field the template does not show is named by its name field
    // ("ccuscode" by "ccusname"), as the user knows it.
    QString caption(Section section, const QString &field) const;

    // "表头 [caption] " or "表体第line行 [caption] ": how a message names a field of the voucher.
    QString place(Section section, const QString &field, int line = 0) const;

private:
    QHash<QString, QString> m_captions[2]; // by lower-case field name
};
