#pragma once

class QWidget;

// Aids the card's head editors get beside the card control's own behaviour, as the card logic
// defines them (FieldEditHandler): the parent-item fields (cpspinvcode, cpspinvname) take Enter and
// Backspace only, as they are filled from their list; the expand flags (bexpand, bexpandend) offer
// their choices ("是", "否") as a drop-down while typing. Applied to the editors found below `card`
// by their field names; applying again (after a new template built new editors) is harmless.
namespace CardFieldAids {

void apply(QWidget *card);

} // namespace CardFieldAids
