#pragma once
// Runs the built zorvik-sheet as a separate process, off-screen, and the plan fixtures it reads.
#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

namespace zorvik {

struct ToolRun {
  int exitCode = -1;
  QString out;
  QString err;
};

// `inChild` runs in the child process before the tool starts (a file-size limit).
inline ToolRun RunSheet(const QStringList& arguments, const std::function<void()>& inChild = {}) {
  QProcess process;
  if (inChild) process.setChildProcessModifier(inChild);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  process.setProcessEnvironment(env);
  process.start(QStringLiteral(ZORVIK_BINARY_DIR "/zorvik-sheet"), arguments);
  ToolRun run;
  if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
    ADD_FAILURE() << "zorvik-sheet did not finish normally";
    return run;
  }
  run.exitCode = process.exitCode();
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

inline QString Fixture(const char* name) {
  return QStringLiteral(ZORVIK_SOURCE_DIR "/tests/print/data/") + name;
}

}  // namespace zorvik
