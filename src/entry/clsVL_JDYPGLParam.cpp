#include "clsVL_JDYPGLParam.h"

void clsVL_JDYPGLParam::InitialNewParameter()
{
    CardNumber.clear();
    Where.clear();
    ID = QVariant::fromValue(qint16(-1));
    CurID = 0;
    PreID = 0;
}
