#pragma once

// The Access components' process-wide state: the one session list, the default session
// "Access", the engine object they all call, and the lock of the component layer. The list
// and the default session are made on first use and go at exit, the session first.

#include <mutex>

namespace accessdb {

class TtaSession;
class TtaSessionList;
class TVirtEng;

TtaSessionList& AccessSessionList();
TtaSession& AccessSession();
// None until the default session starts the engine.
TVirtEng* AccessEngineObject();
std::recursive_mutex& AccessCriticalSection();

// For the session list: stores the engine object the default session made (or none).
void setAccessEngineObject(TVirtEng* engine);
// The default session, none before it is made and after it is gone.
TtaSession* accessDefaultSession();

} // namespace accessdb
