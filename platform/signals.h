#pragma once
// SIGTERM, SIGINT and SIGHUP become close requests (plat::RequestClose), so
// that the program ends in its own order; "end the running copy" and Ctrl+C
// use this. Call once at start, before other threads exist, and stop at the end.
namespace plat {

bool WatchTerminationSignals();
void StopWatchingTerminationSignals();

}  // namespace plat
