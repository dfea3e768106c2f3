#ifndef VELDRIX_CLICKSTATE_H
#define VELDRIX_CLICKSTATE_H

#include <functional>

// What the window waits for while a click talks to the module, in one place.
// A click ("Connecter" or "Lire", and the three commands, whose click runs
// the connect click again at its end) goes through these waits:
//
//   Exchange  ports are written to and listened to. The window paints and
//             its timers run; mouse and keyboard input is held back (and
//             then dropped, but for a close and Ctrl+Q); a field that loses
//             the focus is not range-checked, since a box would stop the
//             exchange.
//   Box       a message box says how a command went. It is application-
//             modal: only the box takes input.
//   Settle    the half second after a command: the window takes input.
//
// A close asked for at any time during a click is put off, and carried out
// once the outermost click is over.
class ClickState
{
public:
    enum class Wait { Nothing, Exchange, Box, Settle };

    // `close` closes the window; it is called when a put-off close is due.
    explicit ClickState(std::function<void()> close) : close(std::move(close)) {}

    // A click that talks to the module, from its start to its end.
    class Click
    {
    public:
        explicit Click(ClickState &state) : state(state) { ++state.clicks; }
        ~Click()
        {
            if (--state.clicks == 0 && state.closeAsked) {
                state.closeAsked = false;
                state.close();
            }
        }
        Click(const Click &) = delete;
        Click &operator=(const Click &) = delete;

    private:
        ClickState &state;
    };

    // One wait of a click, from its start to its end.
    class During
    {
    public:
        During(ClickState &state, Wait wait) : state(state), before(state.wait)
        {
            state.wait = wait;
        }
        ~During() { state.wait = before; }
        During(const During &) = delete;
        During &operator=(const During &) = delete;

    private:
        ClickState &state;
        const Wait before;
    };

    Wait waiting() const { return wait; }

    // A close asked for now: true when it is put off until the click's end.
    bool putOffClose()
    {
        if (clicks == 0)
            return false;
        closeAsked = true;
        return true;
    }

private:
    std::function<void()> close;
    int clicks = 0;
    bool closeAsked = false;
    Wait wait = Wait::Nothing;
};

#endif
