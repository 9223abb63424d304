#pragma once
// The termination signals (SIGTERM, SIGINT, SIGHUP) as a Qt signal on the
// thread that made this object, so the program can end in its own orderly
// way instead of being cut off. After the first one the system's default
// action is back in place: a second signal ends the process at once should
// the orderly exit hang.
#include <QObject>

class QSocketNotifier;

class ExitSignals : public QObject {
    Q_OBJECT

public:
    // Installs the handlers; one instance at a time.
    explicit ExitSignals(QObject* parent = nullptr);
    // Puts the previous handlers back.
    ~ExitSignals() override;

    ExitSignals(const ExitSignals&) = delete;
    ExitSignals& operator=(const ExitSignals&) = delete;

Q_SIGNALS:
    void received(int signalNumber);

private:
    void readPending();

    QSocketNotifier* notifier_ = nullptr;
};
