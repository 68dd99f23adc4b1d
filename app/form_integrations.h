#pragma once
// The parts of other subsystems the main plan form holds for its whole life (private to the
// form's own sources). Each subsystem is wired when its header is part of the tree.

#include <memory>

#if __has_include("app/plan_file_commands.h")
#include "app/plan_file_commands.h"
#define ZORVIK_FORM_HAS_FILE_COMMANDS 1
#else
#define ZORVIK_FORM_HAS_FILE_COMMANDS 0
#endif

namespace zorvik {

struct FormIntegrations {
#if ZORVIK_FORM_HAS_FILE_COMMANDS
  std::unique_ptr<QtFileCommandUi> fileUi;
  std::unique_ptr<PlanFileCommands> fileCommands;
#endif
};

}  // namespace zorvik
