#pragma once
// How long work talks to whoever shows it: progress, a chance to handle window messages, and
// whether the user has cancelled.

class ConversionHooks {
public:
    // Advances the progress by one step.
    virtual void step() = 0;
    // Lets the user interface handle at most one pending message.
    virtual void yieldOnce() = 0;
    // Whether the user cancelled; once true it stays true for the rest of the run.
    virtual bool isCancelled() = 0;

protected:
    ~ConversionHooks() = default;
};
