// The device link's operations: each sends its command report and data reports through the
// handles of the open mouse, holding the exchange lock so no other exchange comes between.
#include "device/link.h"

#include <algorithm>

namespace nivra {

using protocol::DataBytes;
using protocol::Report;

Link::Link(SplashHooks* splash) : splash_(splash) {}

void Link::setSplashHooks(SplashHooks* splash) { splash_ = splash; }

void Link::setHandles(std::shared_ptr<HidHandle> command, std::shared_ptr<HidHandle> reply) {
    std::lock_guard lock(mutex_);
    command_ = std::move(command);
    reply_ = std::move(reply);
}

void Link::setCommandHandle(std::shared_ptr<HidHandle> command) {
    std::lock_guard lock(mutex_);
    command_ = std::move(command);
}

void Link::setReplyHandle(std::shared_ptr<HidHandle> reply) {
    std::lock_guard lock(mutex_);
    reply_ = std::move(reply);
}

bool Link::commandHandleValid() const {
    std::lock_guard lock(mutex_);
    return command_ != nullptr;
}

bool Link::replyHandleValid() const {
    std::lock_guard lock(mutex_);
    return reply_ != nullptr;
}

bool Link::enter() {
    mutex_.lock();
    if (inSplash_) {
        // Only the thread that holds the lock can see inSplash_ set: it is re-entering from
        // the UI's repaint in the middle of its own exchange.
        mutex_.unlock();
        return false;
    }
    ++depth_;
    return true;
}

void Link::leave() {
    --depth_;
    mutex_.unlock();
}

bool Link::counted(bool ok) {
    const std::thread::id self = std::this_thread::get_id();
    for (Tally* t = tally_; t; t = t->outer_) {
        if (t->thread_ != self) continue;
        ++t->sent_;
        if (ok) ++t->accepted_;
    }
    return ok;
}

Link::Tally::Tally(Link& link) : link_(link), thread_(std::this_thread::get_id()) {
    std::lock_guard lock(link_.mutex_);
    outer_ = link_.tally_;
    link_.tally_ = this;
}

Link::Tally::~Tally() {
    std::lock_guard lock(link_.mutex_);
    // Tallies end in the reverse order they began on their thread; one of another thread
    // that began inside this one's lifetime is unlinked where it stands.
    for (Tally** at = &link_.tally_; *at; at = &(*at)->outer_) {
        if (*at == this) {
            *at = outer_;
            break;
        }
    }
}

Link::Exchange::Exchange(Link& link) : link_(link), entered_(link.enter()) {}

Link::Exchange::~Exchange() {
    if (entered_) link_.leave();
}

void Link::showSplash() {
    if (SplashHooks* s = splash_.load()) s->showSplash();
}

void Link::hideSplash() {
    if (SplashHooks* s = splash_.load()) s->hideSplash();
}

void Link::showSplashInExchange() {
    // Called with the lock held: the flag is only read by the thread holding it.
    SplashHooks* s = splash_.load();
    if (!s) return;
    inSplash_ = true;
    s->showSplash();
    inSplash_ = false;
}

bool Link::SendCommand(std::uint8_t code, std::uint8_t p2, std::uint8_t p3, std::uint8_t p4, std::uint8_t p5) {
    Exchange ex(*this);
    if (!ex.entered() || !command_) return false;
    const Report r = protocol::commandReport(code, p2, p3, p4, p5);
    return counted(command_->setFeature(r));
}

bool Link::WriteData(const DataBytes& data) {
    Exchange ex(*this);
    if (!ex.entered() || !reply_) return false;
    const Report r = protocol::dataReport(data);
    return counted(reply_->setFeature(r));
}

void Link::ReadData() {
    Exchange ex(*this);
    if (!ex.entered()) return;
    replyCopy_.fill(0xFF);
    lastReadFailed_ = true;
    if (!reply_) return;
    Report r = protocol::dataRequest();
    if (counted(reply_->getFeature(r))) {
        std::copy(r.begin() + 1, r.end(), replyCopy_.begin());
        lastReadFailed_ = false;
    }
}

DataBytes Link::reply() const {
    std::lock_guard lock(mutex_);
    return replyCopy_;
}

bool Link::readDataInto(std::span<std::uint8_t> dest) {
    ReadData();
    std::copy_n(replyCopy_.begin(), std::min(dest.size(), replyCopy_.size()), dest.begin());
    return !lastReadFailed_;
}

bool Link::SetBytes(std::uint8_t offset, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t count) {
    showSplash();
    bool ok = false;
    {
        Exchange ex(*this);
        if (ex.entered() && command_) ok = counted(command_->setFeature(protocol::setBytesReport(offset, b0, b1, b2, count)));
    }
    hideSplash();
    return ok;
}

bool Link::SetBytes4(std::uint8_t offset, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    showSplash();
    bool ok = false;
    {
        Exchange ex(*this);
        if (ex.entered() && command_) ok = counted(command_->setFeature(protocol::setBytes4Report(offset, b0, b1, b2, b3)));
    }
    hideSplash();
    return ok;
}

bool Link::SetBytesChunked(std::uint8_t offset, std::span<const std::uint8_t> data) {
    // Nothing to send: the result still tells whether the mouse is open.
    if (data.empty()) return commandHandleValid();
    const std::size_t reports = protocol::setBytesReportCount(data.size());
    for (std::size_t i = 0; i < reports; ++i) {
        const std::size_t at = i * protocol::kSetBytesChunk;
        const std::size_t n = std::min(protocol::kSetBytesChunk, data.size() - at);
        std::array<std::uint8_t, protocol::kSetBytesChunk> b{};
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(at), n, b.begin());
        showSplash();
        Exchange ex(*this);
        if (!ex.entered() || !command_) return false;
        const auto o = static_cast<std::uint8_t>(offset + at);   // offsets wrap at 256
        // A refused report means the mouse is gone or not answering: the rest would be lost too.
        if (!counted(command_->setFeature(protocol::setBytesReport(o, b[0], b[1], b[2], static_cast<std::uint8_t>(n)))))
            return false;
    }
    return true;
}

ReadResult Link::GetBytes(std::uint16_t address, std::uint8_t count, std::span<std::uint8_t> buffer) {
    ReadResult result;
    if (buffer.size() < count) return result;
    std::fill_n(buffer.begin(), count, 0xFF);
    Exchange ex(*this);
    if (!ex.entered() || !command_) return result;
    if (!counted(command_->setFeature(protocol::blockCommand(protocol::Command::GetBytes, address, count))))
        return result;
    result.accepted = true;
    for (std::size_t at = 0; at < count; at += protocol::kDataBytes)
        if (!readDataInto(buffer.subspan(at, std::min(protocol::kDataBytes, count - at)))) ++result.failedReports;
    return result;
}

bool Link::WriteBlock(std::uint16_t address, std::uint16_t length, std::span<const std::uint8_t> data) {
    if (data.size() < length) return false;
    Exchange ex(*this);
    if (!ex.entered() || !command_) return false;
    if (!counted(command_->setFeature(protocol::blockCommand(protocol::Command::BlockWrite, address, length)))) return false;
    for (std::size_t at = 0; at < length; at += protocol::kDataBytes) {
        DataBytes d{};
        // Positions past the last significant byte carry no meaning; they are sent as 0.
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(at), std::min<std::size_t>(7, length - at), d.begin());
        showSplashInExchange();
        // A data report the mouse did not take fails the block: the ones after it would land
        // seven bytes early, so none is sent.
        if (!WriteData(d)) return false;
    }
    return true;
}

ReadResult Link::ReadBlock(std::uint16_t address, std::uint16_t length, std::span<std::uint8_t> buffer,
                           Splash splash) {
    ReadResult result;
    if (buffer.size() < length) return result;
    const bool withSplash = splash == Splash::With;
    if (!withSplash) std::fill_n(buffer.begin(), length, 0xFF);
    Exchange ex(*this);
    if (!ex.entered() || !command_) return result;
    if (!counted(command_->setFeature(protocol::blockCommand(protocol::Command::BlockRead, address, length))))
        return result;
    result.accepted = true;
    for (std::size_t at = 0; at < length; at += protocol::kDataBytes) {
        if (withSplash) showSplashInExchange();
        if (!readDataInto(buffer.subspan(at, std::min<std::size_t>(protocol::kDataBytes, length - at))))
            ++result.failedReports;
    }
    return result;
}

}  // namespace nivra
