#pragma once
// The notice text ("license.txt") as the notice dialog shows it.
//
// The file is CP932 (Shift-JIS) on disk like every text file of the program; a file that starts
// with the UTF-8 byte-order mark is read as UTF-8 instead. It is read anew each time it is shown,
// so an edit is visible at the next opening. Nothing else is interpreted: no line is wrapped or
// trimmed; CR LF becomes a plain line break for the text box, and the text ends at a NUL byte as
// a C string would.

#include <QByteArray>
#include <QString>

namespace zorvik {

// Decodes the bytes of a notice file (CP932, or UTF-8 after a byte-order mark).
QString DecodeNoticeText(const QByteArray& bytes);

// The decoded text of the file at `path` (its first 4 MiB); empty when the file is missing,
// unreadable, empty or not a regular file.
QString ReadNoticeText(const QString& path);

}  // namespace zorvik
