#pragma once
// Marks an engine text for translation without pulling Qt into the engine:
// lupdate finds the macro in the source, the application layer looks the
// Chinese source text up at display time.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif
