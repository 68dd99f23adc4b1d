#pragma once
// The one way a PDF reaches the disk: the target is checked before anything is drawn, the PDF
// is made in memory (a plan sheet and its schedule pages are small) and then written through
// the atomic writer, which sees every failed write and keeps the old file on failure.

#include <QIODevice>
#include <QString>
#include <functional>

#include "io/file_access.h"

namespace zorvik {

// `draw` writes the whole PDF into the device it is given; false when it could not.
WriteResult WritePdfFile(const QString& path, const std::function<bool(QIODevice&)>& draw);

}  // namespace zorvik
