#include "programstate.h"

#include "core/storechoice.h"
#include "store/store.h"

namespace parlix {

ProgramState::ProgramState(DataFolder dataFolder) : folder(std::move(dataFolder)), store(chooseStore(folder))
{}

ProgramState::~ProgramState() = default;

} // namespace parlix
