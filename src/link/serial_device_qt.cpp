// The serial device on QSerialPort, for systems without termios and poll (Windows). The same
// time-outs are kept on top of its blocking calls, every deadline on the monotonic clock.

#include "serial_device.h"

#include "link_log.h"

#include <QSerialPort>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsUntil(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
        return 0;
    }
    return static_cast<int>((left.count() + 999) / 1000);
}

bool LineGone(const QSerialPort& port) {
    return port.error() == QSerialPort::ResourceError ||
           port.error() == QSerialPort::PermissionError || !port.isOpen();
}

// Marks a blocking transfer, during which the port's own readyRead must not start another.
class TransferScope {
public:
    explicit TransferScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~TransferScope() { flag_ = previous_; }
    TransferScope(const TransferScope&) = delete;
    TransferScope& operator=(const TransferScope&) = delete;

private:
    bool& flag_;
    bool previous_;
};

} // namespace

SerialDevice::~SerialDevice() {
    Close();
}

bool SerialDevice::IsOpen() const {
    return port_ != nullptr && port_->isOpen();
}

bool SerialDevice::Open(const char* path, int baud) {
    Close();
    if (path == nullptr || *path == '\0') {
        return false;
    }
    auto* port = new QSerialPort;
    port->setPortName(QString::fromLocal8Bit(path));
    // QSerialPort opens exclusively; the line settings follow.
    if (!port->open(QIODevice::ReadWrite)) {
        qCDebug(lcLink, "opening %s failed: %s", path, qPrintable(port->errorString()));
        delete port;
        return false;
    }
    // A line left in its old settings would garble every byte: that is no open port.
    if (!port->setBaudRate(baud) || !port->setDataBits(QSerialPort::Data8) ||
        !port->setParity(QSerialPort::NoParity) || !port->setStopBits(QSerialPort::OneStop) ||
        !port->setFlowControl(QSerialPort::NoFlowControl)) {
        qCDebug(lcLink, "setting the line of %s failed: %s", path, qPrintable(port->errorString()));
        delete port;
        return false;
    }
    port->setDataTerminalReady(true);
    port->setRequestToSend(true);
    port->clearError();
    QObject::connect(port, &QSerialPort::readyRead, port, [this] { OnReadyRead(); });
    port_ = port;
    fd_ = 0;
    hungUp_ = false;
    return true;
}

void SerialDevice::Close() {
    if (port_ == nullptr) {
        return;
    }
    port_->close();
    // It may be the caller on the stack (its readyRead).
    port_->deleteLater();
    port_ = nullptr;
    fd_ = -1;
}

void SerialDevice::SetReadTimeouts(int betweenBytes, int perByte, int totalConstant) {
    betweenBytes_ = std::max(betweenBytes, 0);
    perByte_ = std::max(perByte, 0);
    totalConstant_ = std::max(totalConstant, 0);
}

void SerialDevice::SetWriteTimeouts(int perByte, int totalConstant) {
    writePerByte_ = std::max(perByte, 0);
    writeConstant_ = std::max(totalConstant, 0);
}

int SerialDevice::Write(const char* data, int count) {
    if (!IsOpen() || count <= 0) {
        return 0;
    }
    TransferScope transfer(inTransfer_);
    const qint64 accepted = port_->write(data, count);
    if (accepted <= 0) {
        hungUp_ = LineGone(*port_);
        return 0;
    }
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(writePerByte_ * count + writeConstant_);
    while (port_->bytesToWrite() > 0) {
        const int wait = MillisecondsUntil(deadline);
        if (wait <= 0 || !port_->waitForBytesWritten(wait)) {
            break;
        }
    }
    const qint64 left = port_->bytesToWrite();
    if (left > 0) {
        // What did not leave within the time-out is not sent later behind another command.
        port_->clear(QSerialPort::Output);
    }
    hungUp_ = LineGone(*port_);
    return static_cast<int>(accepted - left);
}

int SerialDevice::ReadAvailable(char* dst, int count) {
    if (!IsOpen() || count <= 0) {
        return -1;
    }
    TransferScope transfer(inTransfer_);
    if (port_->bytesAvailable() == 0) {
        port_->waitForReadyRead(0);
    }
    if (port_->bytesAvailable() > 0) {
        const qint64 n = port_->read(dst, count);
        if (n > 0) {
            return static_cast<int>(n);
        }
    }
    if (LineGone(*port_)) {
        hungUp_ = true;
        return -1;
    }
    return 0;
}

void SerialDevice::WaitReadable(int ms) {
    if (!IsOpen()) {
        return;
    }
    TransferScope transfer(inTransfer_);
    port_->waitForReadyRead(ms < 0 ? 0 : ms);
}

bool SerialDevice::BytesWaiting() {
    if (!IsOpen()) {
        return false;
    }
    if (port_->bytesAvailable() > 0) {
        return true;
    }
    TransferScope transfer(inTransfer_);
    port_->waitForReadyRead(0);
    if (LineGone(*port_)) {
        hungUp_ = true;
    }
    return port_->bytesAvailable() > 0;
}

void SerialDevice::OnReadyRead() {
    if (!watch_ || !onArrival_ || port_ == nullptr || port_->bytesAvailable() == 0) {
        return;
    }
    // readyRead comes once per arrival, while a notifier on the descriptor would keep asking as
    // long as bytes wait: ask again from the event loop while they stay unread.
    if (!inTransfer_) {
        onArrival_();
    }
    if (watch_ && port_ != nullptr && port_->bytesAvailable() > 0) {
        QTimer::singleShot(0, port_, [this] { OnReadyRead(); });
    }
}

void SerialDevice::WatchArrivals(bool watch, std::function<void()> onArrival) {
    watch_ = watch && !hungUp_;
    if (onArrival) {
        onArrival_ = std::move(onArrival);
    }
    if (watch_ && port_ != nullptr && port_->bytesAvailable() > 0) {
        QTimer::singleShot(0, port_, [this] { OnReadyRead(); });
    }
}

void SerialDevice::StopWatching() {
    watch_ = false;
    onArrival_ = nullptr;
}

void SerialDevice::UpdateNotifier() {}
void SerialDevice::ReleaseNotifier() {}
