#pragma once

enum enumVoucherMoveStyle {
    evmsMoveFirst = 0,
    evmsMovePrevious = 1,
    evmsMoveNext = 2,
    evmsMoveLast = 3,
};
