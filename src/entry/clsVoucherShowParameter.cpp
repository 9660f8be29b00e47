#include "clsVoucherShowParameter.h"

void clsVoucherShowParameter::InitialNewParameter()
{
    CardNumber.clear();
    Where.clear();
    AuthEdit.clear();
    ID = QVariant::fromValue(qint16(-1));
    CurID = 0;
    PreID = 0;
}
