#ifndef VELDRIX_MODULESTANDIN_H
#define VELDRIX_MODULESTANDIN_H

// A stand-in for the VELDRIX module on a pseudo-terminal.
//
// It plays the module's side of the serial protocol on the slave end of a
// pty, so that the configurator (or a test) opens its path with QSerialPort as
// it would open the module's USB serial port:
//
//   "iI\n"  identification answer: the module id, then two closing bytes
//   "sS\n"  configuration reply: id, one blank, the 36 settings in the order
//           the module reports them, the check character over all of that,
//           then two closing bytes
//   "rR\n"  restart: the module is deaf for restartTime() ms
//   "zZ\n"  factory reset: the 36 settings take their factory values, then
//           the module restarts
//   "c" + id + " " + 36 values, each followed by one blank, then the check
//           character and "\n": a configuration frame, stored only when its
//           check character is right and it holds exactly 36 values
//
// The stand-in is an independent witness of the protocol: it does not use the
// program's link/ code. It has its own check character, its own idea of the
// two value orders and its own frame parsing, so that a fault in the program
// cannot hide behind the same fault here.
//
// It runs its own thread: the program's serial calls block the GUI thread
// while they wait, so the answers have to come from elsewhere. Every public
// member may be called from any thread.
//
// Besides behaving well, it misbehaves on request (silence, late answers,
// pieces, a wrong check character, a wrong number of values, raw bytes in
// place of an answer, unplugging). Misbehaviours stay in force until cleared
// with behaveWell() or the matching setter, except the one-shot
// unplugAfter().
//
// Like a serial line nobody listens to, it loses what it sends while the
// port is closed: an answer that is still waiting (delay, pause between
// pieces) or still being written when the program closes the port is
// abandoned, and unread bytes are dropped, so nothing of one exchange leaks
// into the next. A command cut off by the closing is forgotten too.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

namespace standin
{

class ModuleStandin
{
public:
    // Which of the module's two answers a misbehaviour applies to. Flags: a
    // setter taking `which` accepts Identify, Read or Identify | Read (Both).
    enum Answer : unsigned { Identify = 1u, Read = 2u, Both = 3u };

    // One piece of an answer cut in pieces: `bytes` bytes, then a pause of
    // `pauseAfterMs` before the next piece.
    struct Piece {
        int bytes;
        int pauseAfterMs;
    };

    ModuleStandin();
    ~ModuleStandin(); // stops the thread and closes the pty
    ModuleStandin(const ModuleStandin &) = delete;
    ModuleStandin &operator=(const ModuleStandin &) = delete;

    // ---- life ----------------------------------------------------------

    // Opens a new pseudo-terminal (raw mode) and starts answering on it.
    // False when no pty could be had. Calling it while running does nothing
    // and returns true.
    bool start();
    // Stops answering and closes the pty (its path disappears).
    void stop();
    // Path of the slave end to give to QSerialPort, e.g. "/dev/pts/7". Empty
    // while unplugged or stopped.
    QString portPath() const;
    bool isPlugged() const;

    // Optional stable name: a symbolic link at `path` that always points at
    // the current pty, also across unplug()/replug(). Removed by stop() and
    // the destructor. Returns false when the link could not be made.
    bool setLinkPath(const QString &path);
    QString linkPath() const;

    // ---- what the module is ----------------------------------------------

    // The identification text, beginning with "VELDRIX_" (not enforced, so
    // that a test can give a wrong one). Default: defaultModuleId().
    void setModuleId(const QByteArray &id);
    QByteArray moduleId() const;
    static QByteArray defaultModuleId();

    // The two bytes that close both answers. Default "\r\n". Any length is
    // sent as given.
    void setClosingBytes(const QByteArray &bytes);
    QByteArray closingBytes() const;

    // The 36 held settings, in the order of the configuration frame (the
    // write order). setSettings() returns false and changes nothing unless it
    // gets exactly 36 texts.
    QStringList settings() const;
    bool setSettings(const QStringList &values);
    // One setting by its write position, 1 to 36.
    QString setting(int writePosition) const;
    void setSetting(int writePosition, const QString &value);
    // The same 36 settings in the order the module reports them (read order).
    QStringList settingsInReadOrder() const;
    // The values a new stand-in holds and a factory reset restores (write
    // order). Defined in one place, modulestandin.cpp.
    static QStringList factorySettings();

    // The exact bytes of the configuration reply the module would send now
    // (with behaveWell()): id, blank, read order values, check, closing bytes.
    QByteArray configurationReply() const;

    // The module's check character: 0x20 + (sum of the bytes mod 64).
    static char checkCharacterOf(const QByteArray &bytes);

    // ---- what happened -------------------------------------------------

    // Every byte received on the pty, in order, since start or the last
    // clearReceived(), also during a restart and while silent.
    QByteArray received() const;
    void clearReceived();

    int restartCount() const;      // "rR\n" received while responsive
    int factoryResetCount() const; // "zZ\n" received while responsive
    int acceptedConfigCount() const;
    int rejectedConfigCount() const;
    // Why the last configuration frame was rejected (empty if none was).
    QString lastRejection() const;
    // Answers begun so far (also those cut short by an unplug), per kind.
    int answerCount(Answer which) const;
    bool isRestarting() const;

    // Waits (without an event loop) until `condition` holds or `timeoutMs`
    // pass; the condition is called with the stand-in's lock NOT held, so it
    // may call the getters above. Returns the last value of the condition.
    // From the GUI thread, prefer QTest::qWaitFor, which keeps events flowing.
    bool waitUntil(const std::function<bool()> &condition, int timeoutMs) const;

    // ---- timing of the module itself ------------------------------------

    // How long a restart or factory reset keeps the module deaf (bytes are
    // logged but not acted upon). Default 100 ms.
    void setRestartTime(int ms);
    int restartTime() const;

    // Off (the default): a configuration frame's values are stored as sent,
    // whatever they hold. On: the module reads each value as a whole number
    // and stores it in plain decimal ("0100" becomes "100") when it lies in
    // that setting's range (the form's ranges; switches 0 or 1; bus speed
    // 125, 250, 500 or 1000; brightness 5 to 100 in steps of 5); any other
    // value leaves the setting as it was.
    void setNormalisesValues(bool normalises = true);

    // ---- misbehaviours -------------------------------------------------

    // Back to a well-behaved module: clears every misbehaviour below (not the
    // id, closing bytes, settings, counters or log).
    void behaveWell();

    // No answer at all to `which` (the command is still logged and counted).
    void setSilent(unsigned which, bool silent = true);
    // Wait `ms` before the first byte of the answer.
    void setDelay(unsigned which, int ms);
    // Send the answer in the listed pieces; bytes beyond the listed pieces go
    // out as one last piece. An empty list sends the answer in one write.
    void setPieces(unsigned which, const QVector<Piece> &pieces);
    // Send the answer `bytesPerPiece` bytes at a time, pausing `pauseMs`
    // between pieces (1 byte every N ms drips it).
    void setDrip(unsigned which, int bytesPerPiece, int pauseMs);
    // The configuration reply carries a check character that is off by one
    // step (still within 0x20..0x5F).
    void setWrongCheckCharacter(bool wrong = true);
    // The configuration reply carries `count` values (default 36): fewer drops
    // the last ones, more appends "0"s; the check character stays right.
    void setReplyValueCount(int count);
    // Send exactly these bytes in place of the answer (garbage, NUL bytes,
    // text that is not UTF-8, a 1 MiB reply...). Delay, pieces and unplug
    // still apply. An empty array cancels it (use setSilent() to send
    // nothing).
    void setRawAnswer(unsigned which, const QByteArray &bytes);

    // Unplug now: close the pty, so that its path disappears and an open
    // port sees a hang-up. The settings and counters survive.
    void unplug();
    // Unplug after sending `bytes` bytes of the next answer of `which`
    // (0: before its first byte), once the reader has taken them (up to a
    // second). One-shot; it fires at that answer even when the answer is
    // silent or abandoned.
    void unplugAfter(unsigned which, int bytes);
    // Plug in again on a new pty (the kernel often hands out the same number,
    // but not always: read portPath() afterwards, or use setLinkPath()).
    // False when no pty could be had. Does nothing when already plugged.
    bool replug();

private:
    struct State;
    std::unique_ptr<State> d;
};

} // namespace standin

#endif
