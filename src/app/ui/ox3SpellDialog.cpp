#include "app/ui/ox3SpellDialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/ox3QtText.h"

namespace tovuri {

namespace {

using enum TSpellDialogCommand;

// String numbers of the dialog's captions.
enum : TSpellLanguageString {
  kStrTitle = 13,
  kStrNotFound = 18,
  kStrRepeatedWord = 19,
  kStrReplaceWith = 20,
  kStrSuggestions = 21,
  kStrUndo = 22,
  kStrOptions = 23,
  kStrIgnoreAll = 24,
  kStrIgnore = 25,
  kStrChangeAll = 26,
  kStrChange = 27,
  kStrAdd = 28,
  kStrAutoCorrect = 29,
  kStrHelp = 30,
  kStrCancel = 31,
  kStrNoSuggestions = 60,
};

}  // namespace

TSpellDialog::TSpellDialog(QWidget* owner) : QDialog(owner) {
  setObjectName("SpellDialog");
  word_label_ = new QLabel(this);
  not_found_ = new QLineEdit(this);
  not_found_->setReadOnly(true);
  not_found_->installEventFilter(this);
  replace_label_ = new QLabel(this);
  replace_with_ = new QLineEdit(this);
  replace_label_->setBuddy(replace_with_);
  suggestions_label_ = new QLabel(this);
  suggestions_ = new QListWidget(this);
  suggestions_label_->setBuddy(suggestions_);
  suggestions_->setMinimumWidth(220);
  // About six suggestions in sight; the buttons set the dialog's height.
  suggestions_->setFixedHeight(suggestions_->fontMetrics().height() * 6 + 8);

  const auto button = [this](auto slot) {
    auto* b = new QPushButton(this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
    return b;
  };
  ignore_ = button([this] { Ignore(); });
  ignore_all_ = button([this] { control_.CmdIgnoreAll(); });
  change_ = button([this] { Change(); });
  change_all_ = button([this] { control_.CmdChangeAll(ReplaceText()); });
  add_ = button([this] { control_.CmdAdd(); });
  auto_correct_ = button([this] { control_.CmdAutoCorrect(ReplaceText()); });
  options_ = button([this] { ShowOptions(); });
  undo_ = button([this] { control_.CmdUndo(); });
  help_ = button([this] { control_.ShowHelp(control_.HelpCtxSpellDialog()); });
  cancel_ = button([this] { control_.CmdCancel(); });

  auto* words = new QGridLayout;
  words->addWidget(word_label_, 0, 0);
  words->addWidget(not_found_, 0, 1);
  words->addWidget(replace_label_, 1, 0);
  words->addWidget(replace_with_, 1, 1);
  words->addWidget(suggestions_label_, 2, 0, Qt::AlignTop);
  words->addWidget(suggestions_, 2, 1);

  // Options and Undo share a column, so Undo takes Options' place when it is hidden.
  auto* first = new QVBoxLayout;
  for (QPushButton* b : {ignore_, change_, add_, options_, undo_}) first->addWidget(b);
  first->addStretch();
  auto* second = new QVBoxLayout;
  for (QPushButton* b : {ignore_all_, change_all_, auto_correct_, help_, cancel_}) second->addWidget(b);
  second->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(words, 1);
  layout->addLayout(first);
  layout->addLayout(second);

  connect(replace_with_, &QLineEdit::textChanged, this, [this] { EnableCommands(); });
  connect(suggestions_, &QListWidget::itemClicked, this, &TSpellDialog::SuggestionClicked);
  connect(suggestions_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    if (item != nullptr && suggestions_->isEnabled()) SuggestionClicked(item);
  });
  connect(suggestions_, &QListWidget::itemDoubleClicked, this, &TSpellDialog::SuggestionDoubleClicked);
  control_.OnConfigurationAvailable = [this](TConfigurationDialogCtrl&) { FillCaptions(); };
  control_.OnPromptWord = [this](TConfigurationDialogCtrl&, const std::string& word, bool repeated) {
    Prompt(word, repeated);
  };
}

void TSpellDialog::FillCaptions() {
  const auto text = [this](TSpellLanguageString index) { return FromAnsi(control_.GetUIString(index)); };
  setWindowTitle(text(kStrTitle));
  word_label_->setText(text(repeated_ ? kStrRepeatedWord : kStrNotFound));
  replace_label_->setText(text(kStrReplaceWith));
  suggestions_label_->setText(text(kStrSuggestions));
  const std::pair<QPushButton*, TSpellLanguageString> captions[] = {
      {ignore_, kStrIgnore},   {ignore_all_, kStrIgnoreAll}, {change_, kStrChange},
      {change_all_, kStrChangeAll}, {add_, kStrAdd}, {auto_correct_, kStrAutoCorrect},
      {options_, kStrOptions}, {undo_, kStrUndo},          {help_, kStrHelp},
      {cancel_, kStrCancel},
  };
  for (const auto& [b, index] : captions) b->setText(text(index));
  const std::pair<QPushButton*, TSpellDialogCommand> commands[] = {
      {ignore_, sdcIgnore}, {ignore_all_, sdcIgnoreAll}, {change_, sdcChange}, {change_all_, sdcChangeAll},
      {add_, sdcAdd},       {auto_correct_, sdcAutoCorrect}, {options_, sdcOptions}, {undo_, sdcUndo},
      {cancel_, sdcCancel},
  };
  for (const auto& [b, command] : commands) b->setVisible(control_.Visible(command));
  help_->setVisible(control_.Visible(sdcHelp) && control_.HelpCtxSpellDialog() != 0);
  EnableCommands();
}

bool TSpellDialog::Allowed(TSpellDialogCommand command) const { return has_focus_ && control_.Enabled(command); }

std::string TSpellDialog::ReplaceText() const { return ToAnsi(replace_with_->text()); }

void TSpellDialog::EnableCommands() {
  const bool has_custom = control_.ActiveCustomDictionary() != nullptr;
  const bool has_text = !replace_with_->text().isEmpty();
  ignore_->setEnabled(Allowed(sdcIgnore));
  options_->setEnabled(Allowed(sdcOptions));
  undo_->setEnabled(Allowed(sdcUndo) && control_.CanUndo());
  help_->setEnabled(Allowed(sdcHelp));
  cancel_->setEnabled(Allowed(sdcCancel));
  replace_with_->setEnabled(has_focus_);
  if (repeated_) {
    change_->setEnabled(Allowed(sdcChange));
    for (QPushButton* b : {ignore_all_, change_all_, add_, auto_correct_}) b->setEnabled(false);
    suggestions_->setEnabled(false);
    return;
  }
  ignore_all_->setEnabled(Allowed(sdcIgnoreAll));
  change_->setEnabled(Allowed(sdcChange) && has_text);
  change_all_->setEnabled(Allowed(sdcChangeAll) && has_text);
  add_->setEnabled(Allowed(sdcAdd) && has_custom);
  auto_correct_->setEnabled(Allowed(sdcAutoCorrect) && has_custom && has_text);
  // "(no suggestions)" stays disabled.
  suggestions_->setEnabled(has_focus_ && suggestions_->count() > 0 &&
                           (suggestions_->item(0)->flags() & Qt::ItemIsEnabled));
}

void TSpellDialog::Prompt(const std::string& word, bool repeated) {
  word_ = word;
  repeated_ = repeated;
  const QSignalBlocker block(suggestions_);
  not_found_->setText(FromAnsi(word));
  suggestions_->clear();
  word_label_->setText(FromAnsi(control_.GetUIString(repeated ? kStrRepeatedWord : kStrNotFound)));
  if (repeated) {
    replace_with_->setText(FromAnsi(word.substr(0, word.size() / 2)));
    EnableCommands();
    return;
  }
  const std::vector<std::string> suggestions = control_.GetSuggestions(word);
  if (suggestions.empty()) {
    replace_with_->clear();
    auto* none = new QListWidgetItem(FromAnsi(control_.GetUIString(kStrNoSuggestions)), suggestions_);
    none->setFlags(none->flags() & ~Qt::ItemIsEnabled & ~Qt::ItemIsSelectable);
  } else {
    for (const std::string& s : suggestions) suggestions_->addItem(FromAnsi(s));
    suggestions_->setCurrentRow(0);
    replace_with_->setText(suggestions_->item(0)->text());
  }
  EnableCommands();
  replace_with_->setFocus();
  replace_with_->selectAll();
}

void TSpellDialog::SuggestionClicked(QListWidgetItem* item) {
  if (item != nullptr && (item->flags() & Qt::ItemIsEnabled)) replace_with_->setText(item->text());
}

void TSpellDialog::SuggestionDoubleClicked(QListWidgetItem* item) {
  if (item == nullptr || !(item->flags() & Qt::ItemIsEnabled) || !change_->isEnabled()) return;
  replace_with_->setText(item->text());
  Change();
}

void TSpellDialog::Ignore() {
  if (repeated_)
    control_.CmdIgnoreRepeated();
  else
    control_.CmdIgnore();
}

void TSpellDialog::Change() {
  if (repeated_)
    control_.CmdDeleteRepeated();
  else
    control_.CmdChange(ReplaceText());
}

void TSpellDialog::ShowOptions() {
  const std::string word = word_;
  const bool repeated = repeated_;
  control_.ShowConfigDialog();
  Prompt(word, repeated);
}

void TSpellDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isVisible()) return;
  const bool active = isActiveWindow();
  if (active == has_focus_) return;
  has_focus_ = active;
  EnableCommands();
  // The user may have edited the text meanwhile: the check resumes from there.
  if (active)
    control_.DialogActivated();
  else
    control_.DialogDeactivated();
}

void TSpellDialog::reject() {
  // Closing the window cancels the check; the component hides the dialog.
  const bool checking = control_.Spell() != nullptr && control_.Spell()->IsChecking();
  control_.CmdCancel();
  if (!checking) QDialog::reject();
}

bool TSpellDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == not_found_ && event->type() == QEvent::MouseButtonDblClick) {
    replace_with_->setText(not_found_->text());
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tovuri
