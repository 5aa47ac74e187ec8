#pragma once
// Asks for the name of a new custom dictionary.
#include <QDialog>

#include "spell/ox3ConfigurationDialogCtrl.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tovuri {

class TNewCustomDictionaryDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TNewCustomDictionaryDialog(QWidget* owner);

  TConfigurationDialogCtrl& Control() { return control_; }
  QLineEdit* NameEdit() const { return name_; }
  QPushButton* OkButton() const { return ok_; }
  // The name typed, in the framework's encoding.
  std::string Name() const;

 private:
  void FillCaptions();

  TConfigurationDialogCtrl control_;
  QLabel* label_;
  QLineEdit* name_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace tovuri
