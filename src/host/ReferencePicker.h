#pragma once

#include "ReferenceListRequest.h"

class ReferenceListService;

// The picking dialog of a reference list: shows the list the request describes, page by page from
// the service, and lets the user choose a row (or several when multiSelect). The card window
// installs the Qt dialog; tests install a scripted one.
class ReferencePicker
{
public:
    virtual ~ReferencePicker() = default;

    // True with the chosen rows in `chosen` (same columns as the service's pages); false when the
    // user chose nothing.
    virtual bool pick(ReferenceListService &service, const ReferenceListRequest &request, bool multiSelect,
                      Recordset &chosen)
        = 0;

    // The installed picker, or nullptr: without one nothing can be picked and lookups answer false.
    static ReferencePicker *current();
    // Installs a picker (not owned; the caller keeps it alive while installed); nullptr removes it.
    static void install(ReferencePicker *picker);
};
