#pragma once
#include <QDBusConnection>
#include <QObject>
#include <QString>

#include "app/dbus/word_query.h"

namespace tovuri {

// Whether the service answers on the bus, and why not.
enum class TServiceState : unsigned char { ssStopped, ssRunning, ssNameTaken, ssNoBus };

// The word query service on the session bus, in place of the DDE conversation
// "Spelling": object "/Spelling", interface "org.tovuri.Spelling", method
// Execute (the macro) and the read-only property DoesWordExist (the last
// answer). Calls arrive through the event loop of the thread it lives in.
class TSpellingService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.tovuri.Spelling")
  Q_PROPERTY(QString DoesWordExist READ DoesWordExist)

 public:
  explicit TSpellingService(TWordQueryHandler& handler, QObject* parent = nullptr);
  ~TSpellingService() override;

  // Exports the object and takes the bus name; without the name (another
  // instance owns it) or without a bus, the service stays off.
  TServiceState Start(const QDBusConnection& bus, const QString& bus_name);
  TServiceState State() const { return state_; }
  // What the status bar says when the service is off; empty while it runs.
  QString StatusMessage() const;

  QString DoesWordExist() const { return answer_; }

 public slots:
  // Answers the macro's first line and sets DoesWordExist to the answer.
  QString Execute(const QString& macro);

 private:
  void SetAnswer(const QString& answer);
  void Stop();

  TWordQueryHandler& handler_;
  QDBusConnection bus_;
  QString bus_name_;
  QString answer_;
  TServiceState state_ = TServiceState::ssStopped;
};

// The bus name for this program: "org.tovuri." and its executable's base name.
QString SpellingBusNameForThisProgram();

}  // namespace tovuri
