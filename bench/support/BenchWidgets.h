#pragma once

// Makes the widget application a benchmark of windows needs, on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise; true when it was made now (the caller then registers what its
// windows need), false when an application already stands.
bool makeWidgetApplication();
