#include "ReferencePicker.h"

namespace {

ReferencePicker *g_picker = nullptr;

} // namespace

ReferencePicker *ReferencePicker::current()
{
    return g_picker;
}

void ReferencePicker::install(ReferencePicker *picker)
{
    g_picker = picker;
}
