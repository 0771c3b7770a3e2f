// The library's warnings, passed on to Python's logging.
//
// The library reports hard failures through one process-wide message handler, which may run on
// a port worker's thread without the GIL. The handler only queues the text; the calling thread
// hands the queue to the logger "vexlink" once it holds the GIL again.
#pragma once

namespace vexlink_python {

// Installs the queueing handler (once, when the module is imported).
void installMessageHandler();
// Logs every queued text as a warning of the logger "vexlink". Needs the GIL.
void flushMessages();
// Forgets the queued texts (a call whose result says it all).
void discardMessages();

}  // namespace vexlink_python
