#pragma once
// The parts of other subsystems the main plan form holds for its whole life (private to the
// form's own sources).

#include <memory>

#include "app/plan_file_commands.h"

namespace zorvik {

struct FormIntegrations {
  std::unique_ptr<QtFileCommandUi> fileUi;
  std::unique_ptr<PlanFileCommands> fileCommands;
};

}  // namespace zorvik
