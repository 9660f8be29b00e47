#pragma once

// Which kind of voucher template is meant.
enum enumVoucherTemplateMode {
    evtmShow = 0,  // display template
    evtmPrint = 1, // print template
};
