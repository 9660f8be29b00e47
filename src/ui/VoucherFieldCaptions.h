#pragma once

#include <QList>
#include <QString>

// Captions of the sample voucher's fields on the browsing card, in the order they are shown.
struct FieldCaption
{
    const char *field;
    const char *caption;
    bool number;
};

const QList<FieldCaption> &sampleHeadCaptions();
const QList<FieldCaption> &sampleBodyCaptions();
