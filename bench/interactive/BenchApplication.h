#pragma once
// The Qt application the windows need, and the objects that need it: both benchmark programs'
// main runs the benchmarks, then frees those objects while Qt is still whole. An object that
// holds windows must not be a function-local static, whose destructor runs among the exit
// handlers after Qt's thread storage is gone.

#include <functional>

// The Qt application (offscreen unless a platform is set), made once for the process and
// never destroyed: its destructor must not run among the exit handlers either.
void EnsureApplication();

// Runs release after the last benchmark, newest first.
void ReleaseAfterRun(std::function<void()> release);

// An object of the run: deleted after the last benchmark.
template <class T>
T* KeptForRun(T* pObject)
{
    ReleaseAfterRun([pObject] { delete pObject; });
    return pObject;
}
