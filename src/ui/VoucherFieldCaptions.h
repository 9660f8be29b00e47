#pragma once

#include <QList>
#include <QString>

// Captions of the sample voucher's fields where no display template names them (the columns of the
// reference dialog), in the order the card shows them.
struct FieldCaption
{
    const char *field;
    const char *caption;
    bool number;
};

const QList<FieldCaption> &sampleHeadCaptions();
const QList<FieldCaption> &sampleBodyCaptions();
