#include "app/dbus/spelling_service.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QVariantMap>

#include "common/spelling_service_names.h"

namespace tovuri {

namespace {

QString FromView(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

TSpellingService::TSpellingService(TWordQueryHandler& handler, QObject* parent)
    : QObject(parent), handler_(handler), bus_(QString()) {}

TSpellingService::~TSpellingService() { Stop(); }

TServiceState TSpellingService::Start(const QDBusConnection& bus, const QString& bus_name) {
  Stop();
  bus_ = bus;
  bus_name_ = bus_name;
  if (!bus_.isConnected()) return state_ = TServiceState::ssNoBus;
  // The object comes first, so no client that sees the name finds it missing.
  if (!bus_.registerObject(FromView(kSpellingObjectPath), this,
                           QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties))
    return state_ = TServiceState::ssNameTaken;
  if (!bus_.registerService(bus_name)) {
    bus_.unregisterObject(FromView(kSpellingObjectPath));
    return state_ = TServiceState::ssNameTaken;
  }
  return state_ = TServiceState::ssRunning;
}

void TSpellingService::Stop() {
  if (state_ == TServiceState::ssRunning) {
    bus_.unregisterService(bus_name_);
    bus_.unregisterObject(FromView(kSpellingObjectPath));
  }
  state_ = TServiceState::ssStopped;
}

QString TSpellingService::StatusMessage() const {
  switch (state_) {
    case TServiceState::ssNameTaken:
      return QStringLiteral("Word queries go to the Tovuri already running (%1)").arg(bus_name_);
    case TServiceState::ssNoBus:
      return QStringLiteral("No D-Bus session bus: other programs cannot ask for words");
    case TServiceState::ssStopped:
    case TServiceState::ssRunning:
      break;
  }
  return QString();
}

QString TSpellingService::Execute(const QString& macro) {
  const auto set_answer = [this](const std::string& text) { SetAnswer(QString::fromStdString(text)); };
  // Every UTF-16 unit is at least one UTF-8 byte: a macro this long is too
  // long however it encodes, and is turned away before it is copied.
  if (macro.size() > static_cast<qsizetype>(kMaxMacroBytes)) {
    set_answer(std::string(kMacroError));
    return answer_;
  }
  return QString::fromStdString(SpellingExecuteMacro(macro.toStdString(), handler_, set_answer));
}

// Tells the clients that follow the property (as DDE advise did) at once, so
// they see the answer before the dictionaries change.
void TSpellingService::SetAnswer(const QString& answer) {
  answer_ = answer;
  if (state_ != TServiceState::ssRunning) return;
  QDBusMessage changed = QDBusMessage::createSignal(
      FromView(kSpellingObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("PropertiesChanged"));
  changed << FromView(kSpellingInterface) << QVariantMap{{FromView(kSpellingAnswerProperty), answer}}
          << QStringList();
  bus_.send(changed);
}

QString SpellingBusNameForThisProgram() {
  return QString::fromStdString(SpellingBusName(QCoreApplication::applicationFilePath().toStdString()));
}

}  // namespace tovuri
