#pragma once

namespace parlix {

struct ProgramState;
class Dialogs;
class Clock;

// The collaborators every form is given when it is made.
struct AppContext
{
    ProgramState& state;
    Dialogs& dialogs;
    const Clock& clock;
};

} // namespace parlix
