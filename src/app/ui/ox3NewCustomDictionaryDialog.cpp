#include "app/ui/ox3NewCustomDictionaryDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/ox3QtText.h"

namespace tovuri {

namespace {

enum : TSpellLanguageString { kStrTitle = 17, kStrCancel = 31, kStrOK = 45, kStrEnterName = 46 };

}  // namespace

TNewCustomDictionaryDialog::TNewCustomDictionaryDialog(QWidget* owner) : QDialog(owner) {
  setObjectName("NewCustomDictionaryDialog");
  label_ = new QLabel(this);
  name_ = new QLineEdit(this);
  name_->setMinimumWidth(260);
  label_->setBuddy(name_);
  ok_ = new QPushButton(this);
  ok_->setDefault(true);
  cancel_ = new QPushButton(this);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(name_, &QLineEdit::textChanged, this, [this] { ok_->setEnabled(!name_->text().trimmed().isEmpty()); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  layout->addWidget(name_);
  layout->addLayout(buttons);
  control_.OnConfigurationAvailable = [this](TConfigurationDialogCtrl&) { FillCaptions(); };
  ok_->setEnabled(false);
}

void TNewCustomDictionaryDialog::FillCaptions() {
  setWindowTitle(FromAnsi(control_.GetUIString(kStrTitle)));
  label_->setText(FromAnsi(control_.GetUIString(kStrEnterName)));
  ok_->setText(FromAnsi(control_.GetUIString(kStrOK)));
  cancel_->setText(FromAnsi(control_.GetUIString(kStrCancel)));
}

std::string TNewCustomDictionaryDialog::Name() const { return ToAnsi(name_->text().trimmed()); }

}  // namespace tovuri
