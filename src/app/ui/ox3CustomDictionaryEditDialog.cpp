#include "app/ui/ox3CustomDictionaryEditDialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/ox3QtText.h"

namespace tovuri {

namespace {

using enum TSpellDialogCommand;

enum : TSpellLanguageString {
  kStrInternalTitle = 16,
  kStrHelp = 30,
  kStrAdd = 28,
  kStrDelete = 43,
  kStrOK = 45,
  kStrAddedPage = 47,
  kStrAddedText = 48,
  kStrIgnoreWord = 49,
  kStrAutoCorrectPage = 50,
  kStrAutoCorrectText = 51,
  kStrReplace = 52,
  kStrWith = 53,
  kStrExcludedPage = 54,
  kStrExcludedText = 55,
  kStrExcludeWord = 56,
};

}  // namespace

TCustomDictionaryEditDialog::TCustomDictionaryEditDialog(QWidget* owner, TCustomDictionary* dictionary)
    : QDialog(owner), dictionary_(dictionary) {
  setObjectName("CustomDictionaryEditDialog");
  tabs_ = new QTabWidget(this);
  for (Page page : {pgAdded, pgAutoCorrect, pgExcluded}) BuildPage(page);
  ok_ = new QPushButton(this);
  ok_->setAutoDefault(false);
  help_ = new QPushButton(this);
  help_->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(help_, &QPushButton::clicked, this, [this] { control_.ShowHelp(control_.HelpCtxDictionaryEditDialog()); });
  connect(tabs_, &QTabWidget::currentChanged, this, &TCustomDictionaryEditDialog::PageShown);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(help_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(buttons);
  control_.OnConfigurationAvailable = [this](TConfigurationDialogCtrl&) { FillCaptions(); };
}

void TCustomDictionaryEditDialog::BuildPage(Page page) {
  PageControls& c = pages_[page];
  c.widget = new QWidget(tabs_);
  c.explanation = new QLabel(c.widget);
  c.explanation->setWordWrap(true);
  c.word_label = new QLabel(c.widget);
  c.word = new QLineEdit(c.widget);
  c.word_label->setBuddy(c.word);
  c.word->installEventFilter(this);
  c.list = new QTreeWidget(c.widget);
  c.list->setRootIsDecorated(false);
  c.list->setColumnCount(page == pgAutoCorrect ? 2 : 1);
  c.list->setHeaderHidden(true);
  c.list->setSortingEnabled(true);
  c.list->sortByColumn(0, Qt::AscendingOrder);
  c.list->header()->setSectionResizeMode(QHeaderView::Stretch);
  c.add = new QPushButton(c.widget);
  c.add->setAutoDefault(false);
  c.remove = new QPushButton(c.widget);
  c.remove->setAutoDefault(false);
  connect(c.add, &QPushButton::clicked, this, [this, page] { Add(page); });
  connect(c.remove, &QPushButton::clicked, this, [this, page] { Remove(page); });
  connect(c.word, &QLineEdit::textChanged, this, [this, page] { EntryChanged(page); });
  connect(c.list, &QTreeWidget::currentItemChanged, this, [this, page](QTreeWidgetItem* item) {
    PageControls& p = pages_[page];
    p.remove->setEnabled(item != nullptr);
  });

  auto* grid = new QGridLayout(c.widget);
  grid->addWidget(c.explanation, 0, 0, 1, 3);
  grid->addWidget(c.word_label, 1, 0);
  grid->addWidget(c.word, 1, 1);
  int row = 2;
  if (page == pgAutoCorrect) {
    c.replacement_label = new QLabel(c.widget);
    c.replacement = new QLineEdit(c.widget);
    c.replacement_label->setBuddy(c.replacement);
    c.replacement->installEventFilter(this);
    connect(c.replacement, &QLineEdit::textChanged, this, [this, page] { EntryChanged(page); });
    grid->addWidget(c.replacement_label, row, 0);
    grid->addWidget(c.replacement, row, 1);
    ++row;
  }
  grid->addWidget(c.list, row, 0, 3, 2);
  grid->addWidget(c.add, 1, 2);
  grid->addWidget(c.remove, 2, 2);
  grid->setRowStretch(row + 2, 1);
  tabs_->addTab(c.widget, QString());
  c.add->setEnabled(false);
  c.remove->setEnabled(false);
}

void TCustomDictionaryEditDialog::FillCaptions() {
  const auto text = [this](TSpellLanguageString index) { return FromAnsi(control_.GetUIString(index)); };
  if (dictionary_ != nullptr && dictionary_ == control_.InternalDictionary())
    setWindowTitle(text(kStrInternalTitle));
  else if (dictionary_ != nullptr)
    setWindowTitle(FromAnsi(dictionary_->Filename()).section('/', -1));
  const std::array<std::array<TSpellLanguageString, 3>, 3> captions = {{
      {kStrAddedPage, kStrAddedText, kStrIgnoreWord},
      {kStrAutoCorrectPage, kStrAutoCorrectText, kStrReplace},
      {kStrExcludedPage, kStrExcludedText, kStrExcludeWord},
  }};
  for (Page page : {pgAdded, pgAutoCorrect, pgExcluded}) {
    PageControls& c = pages_[page];
    tabs_->setTabText(page, text(captions[page][0]));
    c.explanation->setText(text(captions[page][1]));
    c.word_label->setText(text(captions[page][2]));
    if (c.replacement_label != nullptr) c.replacement_label->setText(text(kStrWith));
    c.add->setText(text(kStrAdd));
    c.remove->setText(text(kStrDelete));
  }
  tabs_->setTabVisible(pgAdded, control_.Visible(sdcAddedEdit));
  tabs_->setTabVisible(pgAutoCorrect, control_.Visible(sdcAutoCorrectEdit));
  tabs_->setTabVisible(pgExcluded, control_.Visible(sdcExcludedEdit) && control_.UseExcludeWords());
  ok_->setText(text(kStrOK));
  help_->setText(text(kStrHelp));
  help_->setVisible(control_.Visible(sdcHelp) && control_.HelpCtxDictionaryEditDialog() != 0);
  PageShown(tabs_->currentIndex());
}

int TCustomDictionaryEditDialog::exec() {
  if (dictionary_ == nullptr) {
    QTimer::singleShot(0, this, &QDialog::reject);
    return QDialog::exec();
  }
  const int result = QDialog::exec();
  // Written now, so that the component reopening its dictionaries reads the edits.
  dictionary_->Save();
  return result;
}

void TCustomDictionaryEditDialog::PageShown(int index) {
  if (index < 0 || index > pgExcluded || dictionary_ == nullptr) return;
  PageControls& c = pages_[static_cast<size_t>(index)];
  if (c.filled) return;
  c.filled = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  FillList(static_cast<Page>(index));
  QApplication::restoreOverrideCursor();
}

void TCustomDictionaryEditDialog::FillList(Page page) {
  QTreeWidget* list = pages_[page].list;
  list->setSortingEnabled(false);
  list->clear();
  QList<QTreeWidgetItem*> items;
  switch (page) {
    case pgAdded:
      for (int i = 0; i < dictionary_->AddedWordCount(); ++i)
        items.push_back(new QTreeWidgetItem(QStringList{FromAnsi(dictionary_->AddedWordAt(i))}));
      break;
    case pgAutoCorrect:
      for (int i = 0; i < dictionary_->AutoCorrectPairCount(); ++i) {
        std::string word, replacement;
        if (dictionary_->AutoCorrectPairAt(i, word, replacement))
          items.push_back(new QTreeWidgetItem(QStringList{FromAnsi(word), FromAnsi(replacement)}));
      }
      break;
    case pgExcluded:
      for (int i = 0; i < dictionary_->ExcludedWordCount(); ++i)
        items.push_back(new QTreeWidgetItem(QStringList{FromAnsi(dictionary_->ExcludedWordAt(i))}));
      break;
  }
  list->addTopLevelItems(items);
  list->setSortingEnabled(true);
}

bool TCustomDictionaryEditDialog::InPage(Page page, const std::string& word) const {
  std::string replacement;
  switch (page) {
    case pgAdded:
      return dictionary_->Contains(word);
    case pgAutoCorrect:
      return dictionary_->FindAutoCorrect(word, replacement);
    case pgExcluded:
      return dictionary_->IsExcluded(word);
  }
  return false;
}

bool TCustomDictionaryEditDialog::InAnyPage(const std::string& word) const {
  return InPage(pgAdded, word) || InPage(pgAutoCorrect, word) || InPage(pgExcluded, word);
}

void TCustomDictionaryEditDialog::EntryChanged(Page page) {
  if (dictionary_ == nullptr) return;
  PageControls& c = pages_[page];
  const std::string word = ToAnsi(c.word->text());
  if (!word.empty() && InPage(page, word)) {
    const QList<QTreeWidgetItem*> found = c.list->findItems(c.word->text(), Qt::MatchExactly, 0);
    if (!found.isEmpty()) c.list->setCurrentItem(found.front());
    c.remove->setEnabled(true);
    c.add->setEnabled(false);
    return;
  }
  const bool complete = !word.empty() && (c.replacement == nullptr || !c.replacement->text().isEmpty());
  c.add->setEnabled(complete && !InAnyPage(word));
  c.remove->setEnabled(false);
}

void TCustomDictionaryEditDialog::Add(Page page) {
  PageControls& c = pages_[page];
  const std::string word = ToAnsi(c.word->text());
  bool added = false;
  QStringList columns{c.word->text()};
  switch (page) {
    case pgAdded:
      added = dictionary_->AddWord(word);
      break;
    case pgAutoCorrect:
      added = dictionary_->AddAutoCorrect(word, ToAnsi(c.replacement->text()));
      columns.push_back(c.replacement->text());
      break;
    case pgExcluded:
      added = dictionary_->AddExcluded(word);
      break;
  }
  if (!added) return;
  if (c.filled) {
    auto* item = new QTreeWidgetItem(columns);
    c.list->addTopLevelItem(item);
    c.list->setCurrentItem(item);
  }
  c.word->clear();
  if (c.replacement != nullptr) c.replacement->clear();
  c.word->setFocus();
}

void TCustomDictionaryEditDialog::Remove(Page page) {
  PageControls& c = pages_[page];
  QTreeWidgetItem* item = c.list->currentItem();
  if (item == nullptr) return;
  const std::string word = ToAnsi(item->text(0));
  const bool removed = page == pgAdded         ? dictionary_->RemoveWord(word)
                       : page == pgAutoCorrect ? dictionary_->RemoveAutoCorrect(word)
                                               : dictionary_->RemoveExcluded(word);
  if (!removed) return;
  const int row = c.list->indexOfTopLevelItem(item);
  delete item;
  const int count = c.list->topLevelItemCount();
  if (count > 0) c.list->setCurrentItem(c.list->topLevelItem(std::min(row, count - 1)));
  if (!c.word->text().isEmpty()) EntryChanged(page);
}

bool TCustomDictionaryEditDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      for (Page page : {pgAdded, pgAutoCorrect, pgExcluded}) {
        PageControls& c = pages_[page];
        if (watched != c.word && watched != c.replacement) continue;
        if (c.add->isEnabled()) Add(page);
        return true;  // Enter never closes the dialog from an entry box
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tovuri
