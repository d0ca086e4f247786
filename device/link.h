// The device link: the command and reply handles of the open mouse and the operations that
// talk to it in feature reports, one exchange at a time.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "device/hid_transport.h"
#include "device/protocol.h"

namespace nivra {

// The loading splash, as the link drives it. Both calls come on the thread that runs the
// operation (the UI thread for every operation that shows the splash); show() centres the
// splash on the main window and lets the UI repaint before it returns.
class SplashHooks {
public:
    virtual ~SplashHooks() = default;
    virtual void showSplash() = 0;
    virtual void hideSplash() = 0;
};

enum class Splash { Without, With };

// What a read returns: whether the mouse accepted its command report, and how many of its
// data reports failed (their bytes read 0xFF), counted for this exchange alone, so no other
// exchange between the read and its caller's check can change the count.
struct ReadResult {
    bool accepted = false;
    std::size_t failedReports = 0;
    explicit operator bool() const { return accepted; }
    // Accepted, and every data report answered: the bytes are the mouse's own.
    bool complete() const { return accepted && failedReports == 0; }
};

class Link {
public:
    explicit Link(SplashHooks* splash = nullptr);

    void setSplashHooks(SplashHooks* splash);

    // The handles of the open mouse; both are usually the same interface. nullptr is the
    // "invalid" handle. Setting them waits for a running exchange to end.
    void setHandles(std::shared_ptr<HidHandle> command, std::shared_ptr<HidHandle> reply);
    void setCommandHandle(std::shared_ptr<HidHandle> command);
    void setReplyHandle(std::shared_ptr<HidHandle> reply);
    void clearHandles() { setHandles(nullptr, nullptr); }
    bool commandHandleValid() const;
    bool replyHandleValid() const;

    // --- Single reports --------------------------------------------------------------
    // [40 code p2 p3 p4 p5 00 00] on the command handle.
    bool SendCommand(std::uint8_t code, std::uint8_t p2 = 0, std::uint8_t p3 = 0, std::uint8_t p4 = 0,
                     std::uint8_t p5 = 0);
    // [41 d0..d6] on the reply handle.
    bool WriteData(const protocol::DataBytes& data);
    // Sets the reply copy to 0xFF x7, reads one data report and copies its bytes 1..7 there.
    void ReadData();
    // The reply copy of the last ReadData on this link.
    protocol::DataBytes reply() const;

    // --- Operations ------------------------------------------------------------------
    // Each returns true when its command report was accepted, false when the handle is
    // invalid or the command report was refused (then no data reports follow). Failed data
    // reports leave 0xFF in the caller's buffer; the reads count them in their result.
    // A buffer shorter than the length asked for is refused (false) before anything is sent.

    // Set bytes form 0: `count` (1..3) of b0, b1, b2 at `offset`; splash shown and hidden.
    bool SetBytes(std::uint8_t offset, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t count);
    // Set bytes form 1: b0..b3 at `offset`..`offset`+3; splash shown and hidden.
    bool SetBytes4(std::uint8_t offset, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);
    // `data.size()` bytes from `offset` in form-0 reports of three (offsets wrap at 256); the
    // splash is shown before each report and left shown. Stops at the first refused report.
    bool SetBytesChunked(std::uint8_t offset, std::span<const std::uint8_t> data);
    // Fills buffer[0..count) with 0xFF, then get bytes `count` (1..255) at `address`.
    ReadResult GetBytes(std::uint16_t address, std::uint8_t count, std::span<std::uint8_t> buffer);
    // Block write of data[0..length) at `address`; splash shown before each data report, left
    // shown. False when the command or any data report was refused (the rest is not sent).
    bool WriteBlock(std::uint16_t address, std::uint16_t length, std::span<const std::uint8_t> data);
    // Block read of `length` bytes at `address` into buffer[0..length). Without the splash the
    // buffer is first filled with 0xFF; with it the buffer is not pre-filled and the splash is
    // shown before each data report and left shown.
    ReadResult ReadBlock(std::uint16_t address, std::uint16_t length, std::span<std::uint8_t> buffer,
                         Splash splash = Splash::Without);

    // --- One exchange at a time --------------------------------------------------------
    // Each operation above holds the exchange lock from its command report to its last data
    // report. A caller that builds one exchange from single reports (identify: SendCommand,
    // then ReadData) holds an Exchange around them; the operations inside re-enter the lock.
    // An operation started from inside the splash hook (the UI repainting in the middle of
    // an exchange) is refused: it would put its reports between the exchange's own.
    class Exchange {
    public:
        explicit Exchange(Link& link);
        ~Exchange();
        Exchange(const Exchange&) = delete;
        Exchange& operator=(const Exchange&) = delete;
        // False when the exchange was refused (opened from inside a splash hook).
        bool entered() const { return entered_; }

    private:
        Link& link_;
        bool entered_;
    };

    // --- Counting reports ----------------------------------------------------------------
    // Counts the feature reports this thread sends or asks for on the link while it lives
    // (a nested tally counts them as well as the outer ones), and how many of them the mouse
    // took: what one edit or flow cost and whether all of it arrived.
    class Tally {
    public:
        explicit Tally(Link& link);
        ~Tally();
        Tally(const Tally&) = delete;
        Tally& operator=(const Tally&) = delete;
        std::size_t sent() const { return sent_; }
        std::size_t accepted() const { return accepted_; }

    private:
        friend class Link;
        Link& link_;
        Tally* outer_;
        std::thread::id thread_;
        std::size_t sent_ = 0;
        std::size_t accepted_ = 0;
    };

private:
    friend class Exchange;
    friend class Tally;
    // Counts one report in the tallies of the calling thread; returns `ok`. Called with the
    // exchange lock held.
    bool counted(bool ok);
    bool enter();   // takes the lock; false when refused (inside a splash hook on this thread)
    void leave();
    void showSplash();
    void hideSplash();
    void showSplashInExchange();
    bool readDataInto(std::span<std::uint8_t> dest);

    mutable std::recursive_mutex mutex_;
    int depth_ = 0;                 // exchange nesting on the owning thread, under mutex_
    bool inSplash_ = false;         // the owning thread is inside a splash hook
    std::atomic<SplashHooks*> splash_{nullptr};
    std::shared_ptr<HidHandle> command_;
    std::shared_ptr<HidHandle> reply_;
    protocol::DataBytes replyCopy_{};
    bool lastReadFailed_ = false;   // the last ReadData got no data report
    Tally* tally_ = nullptr;        // the innermost tally, under mutex_
};

}  // namespace nivra
