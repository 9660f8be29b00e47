#pragma once

// Voucher types whose card numbers the list information knows (clsVL_JDYPGLInfo::CardNumber).
enum enumVoucherType : int {
    evtCSDJ = 0,     // "TS01"
    evtCGJYD = 1,    // "QM10"
    evtCGBHGCLD = 2, // "QM11"
    evtBFD = 3,      // "QM21"
    evtBHGTHD = 4,   // "QM22"
    evtCGDHD = 5,    // "26"
};
