#pragma once
// One running copy of the tool per user and registry store: the first copy listens on a local socket; a later
// copy asks it to bring its window to the front, and then ends.
#include <QObject>
#include <QString>

class QLocalServer;

namespace vyr::vtx::ui {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The socket name for this user and registry store.
    static QString defaultName();

    // True when this copy is now the running one. False when another copy runs and has
    // confirmed that it brings its window forward.
    bool claim();

signals:
    void activationRequested();

private:
    bool askRunningCopy();
    void serve();

    QString name_;
    QLocalServer* server_ = nullptr;
};

} // namespace vyr::vtx::ui
