#include "app/ui/ox3ConfigurationDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/ox3QtText.h"

namespace tovuri {

namespace {

using enum TSpellDialogCommand;

enum : TSpellLanguageString {
  kStrTitle = 14,
  kStrHelp = 30,
  kStrReset = 32,
  kStrOptionsGroup = 33,
  kStrDictionariesGroup = 34,
  kStrName = 35,
  kStrFilename = 36,
  kStrCustomDictionary = 37,
  kStrDictionaries = 38,
  kStrLocate = 39,
  kStrOK = 45,
  kStrCancel = 31,
};

// Options 0 to 13 can have a box.
constexpr int kOptionCount = 14;

}  // namespace

TConfigurationDialog::TConfigurationDialog(QWidget* owner) : QDialog(owner) {
  setObjectName("ConfigurationDialog");
  options_group_ = new QGroupBox(this);
  option_layout_ = new QGridLayout(options_group_);
  for (int i = 0; i < kOptionBoxes; ++i) {
    auto* box = new QCheckBox(options_group_);
    box->setObjectName(QString("Option%1").arg(i + 1));
    options_[static_cast<size_t>(i)] = box;
    connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
      const int option = option_of_[static_cast<size_t>(i)];
      if (!filling_ && option >= 0) control_.SetOption(static_cast<TSpellOption>(option), on);
    });
  }

  dictionaries_group_ = new QGroupBox(this);
  main_list_ = new QTreeWidget(dictionaries_group_);
  main_list_->setRootIsDecorated(false);
  main_list_->setColumnCount(2);
  main_list_->setMinimumWidth(360);
  main_list_->setFixedHeight(main_list_->fontMetrics().height() * 6 + 12);
  main_list_->header()->setStretchLastSection(true);
  custom_label_ = new QLabel(dictionaries_group_);
  custom_ = new QComboBox(dictionaries_group_);
  custom_label_->setBuddy(custom_);
  dictionaries_ = new QPushButton(dictionaries_group_);
  auto* dict_layout = new QGridLayout(dictionaries_group_);
  dict_layout->addWidget(main_list_, 0, 0, 1, 3);
  dict_layout->addWidget(custom_label_, 1, 0);
  dict_layout->addWidget(custom_, 1, 1);
  dict_layout->addWidget(dictionaries_, 1, 2);
  dict_layout->setColumnStretch(1, 1);

  reset_ = new QPushButton(this);
  ok_ = new QPushButton(this);
  cancel_ = new QPushButton(this);
  cancel_->setObjectName("CancelButton");
  help_ = new QPushButton(this);
  for (QPushButton* b : {dictionaries_, reset_, cancel_, help_}) b->setAutoDefault(false);
  ok_->setDefault(true);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(reset_);
  bottom->addStretch();
  bottom->addWidget(ok_);
  bottom->addWidget(cancel_);
  bottom->addWidget(help_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(options_group_);
  layout->addWidget(dictionaries_group_, 1);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &TConfigurationDialog::reject);
  connect(help_, &QPushButton::clicked, this, [this] { control_.ShowHelp(control_.HelpCtxConfigDialog()); });
  connect(dictionaries_, &QPushButton::clicked, this, [this] {
    control_.ShowCustomDictionariesDialog();
    FillCustomDictionaries();
  });
  connect(reset_, &QPushButton::clicked, this, [this] {
    control_.ResetDefaults();
    FillMainDictionaries();
    FillCustomDictionaries();
    FillOptions();
  });
  connect(custom_, &QComboBox::activated, this, [this](int index) {
    if (!filling_ && index >= 0) control_.SetActiveCustom(ToAnsi(custom_->itemText(index)));
  });
  connect(main_list_, &QTreeWidget::itemChanged, this, &TConfigurationDialog::MainItemChanged);
  connect(main_list_, &QTreeWidget::itemClicked, this, &TConfigurationDialog::MainItemClicked);
  control_.OnConfigurationAvailable = [this](TConfigurationDialogCtrl&) {
    opened_with_ = {control_.Options(), control_.MainDictionaryFiles(), control_.CustomDictionaryFiles(),
                    control_.ActiveCustomName()};
    FillCaptions();
  };
}

void TConfigurationDialog::reject() {
  if (TOrthexSpell3Base* spell = control_.Spell()) {
    TOrthexConfig& config = spell->Configuration();
    config.SetSpellOptions(opened_with_.options);
    if (config.MainList().Items() != opened_with_.main) config.MainList().Assign(opened_with_.main);
    // A dictionary deleted meanwhile (in the dictionaries dialog) stays deleted.
    const std::vector<std::string> available = control_.AvailableCustomDictionaries();
    const auto exists = [&](const std::string& name) {
      return std::find(available.begin(), available.end(), name) != available.end();
    };
    std::vector<std::string> custom;
    for (const std::string& name : opened_with_.custom)
      if (exists(name)) custom.push_back(name);
    if (config.CustomList().Items() != custom) config.CustomList().Assign(custom);
    if (exists(opened_with_.active_custom) && config.ActiveCustomName() != opened_with_.active_custom)
      config.SetActiveCustom(opened_with_.active_custom);
  }
  QDialog::reject();
}

void TConfigurationDialog::FillCaptions() {
  const auto text = [this](TSpellLanguageString index) { return FromAnsi(control_.GetUIString(index)); };
  setWindowTitle(text(kStrTitle));
  options_group_->setTitle(text(kStrOptionsGroup));
  dictionaries_group_->setTitle(text(kStrDictionariesGroup));
  main_list_->setHeaderLabels({text(kStrName), text(kStrFilename)});
  custom_label_->setText(text(kStrCustomDictionary));
  dictionaries_->setText(text(kStrDictionaries));
  reset_->setText(text(kStrReset));
  ok_->setText(text(kStrOK));
  cancel_->setText(text(kStrCancel));
  help_->setText(text(kStrHelp));

  custom_label_->setVisible(control_.Visible(sdcCustomDictionary));
  custom_->setVisible(control_.Visible(sdcCustomDictionary));
  custom_->setEnabled(control_.Enabled(sdcCustomDictionary));
  dictionaries_->setVisible(control_.Visible(sdcCustomDictionaries));
  dictionaries_->setEnabled(control_.Enabled(sdcCustomDictionaries));
  reset_->setVisible(control_.Visible(sdcResetDefaults));
  reset_->setEnabled(control_.Enabled(sdcResetDefaults));
  ok_->setVisible(control_.Visible(sdcConfigOK));
  ok_->setEnabled(control_.Enabled(sdcConfigOK));
  help_->setVisible(control_.Visible(sdcHelp) && control_.HelpCtxConfigDialog() != 0);
  FillOptions();
  FillMainDictionaries();
  FillCustomDictionaries();
  ArrangeOptionBoxes(1);
  layout()->activate();
  adjustSize();
  // A short screen (or a large scale factor): the boxes go in two columns,
  // so that the dialog and its title bar fit on it.
  const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen != nullptr &&
      sizeHint().height() + fontMetrics().height() * 2 > screen->availableGeometry().height()) {
    ArrangeOptionBoxes(2);
    layout()->activate();
    adjustSize();
  }
}

void TConfigurationDialog::ArrangeOptionBoxes(int columns) {
  std::vector<QCheckBox*> used;
  for (int i = 0; i < kOptionBoxes; ++i) {
    option_layout_->removeWidget(options_[static_cast<size_t>(i)]);
    if (option_of_[static_cast<size_t>(i)] >= 0) used.push_back(options_[static_cast<size_t>(i)]);
  }
  const int rows = std::max(1, (static_cast<int>(used.size()) + columns - 1) / columns);
  // Down the first column, then down the next, as the options read.
  for (size_t n = 0; n < used.size(); ++n)
    option_layout_->addWidget(used[n], static_cast<int>(n) % rows, static_cast<int>(n) / rows);
  option_columns_ = columns;
}

void TConfigurationDialog::FillOptions() {
  filling_ = true;
  const TSpellOptions available = control_.AvailableOptions();
  const TSpellOptions current = control_.Options();
  int box = 0;
  for (int option = 0; option < kOptionCount && box < kOptionBoxes; ++option) {
    if (!available.Has(static_cast<TSpellOption>(option))) continue;
    QCheckBox* b = options_[static_cast<size_t>(box)];
    b->setText(FromAnsi(control_.OptionCaption(option)));
    b->setChecked(current.Has(static_cast<TSpellOption>(option)));
    b->setVisible(true);
    option_of_[static_cast<size_t>(box)] = option;
    ++box;
  }
  // Unused boxes leave no gap: the dialog is shorter by their rows.
  for (; box < kOptionBoxes; ++box) {
    options_[static_cast<size_t>(box)]->setVisible(false);
    option_of_[static_cast<size_t>(box)] = -1;
  }
  options_group_->setVisible(option_of_[0] >= 0);
  filling_ = false;
}

void TConfigurationDialog::FillMainDictionaries() {
  filling_ = true;
  main_list_->clear();
  locate_row_ = nullptr;
  main_files_ = control_.AvailableMainDictionaries();
  const std::vector<std::string> active = control_.MainDictionaryFiles();
  for (const std::string& name : active)
    if (std::find(main_files_.begin(), main_files_.end(), name) == main_files_.end()) main_files_.push_back(name);
  for (const std::string& file : main_files_) {
    std::string title = control_.MainDictionaryTitle(file);
    if (title.empty()) title = "???";
    auto* item = new QTreeWidgetItem(main_list_, {FromAnsi(title), FromAnsi(file)});
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    const bool on = std::find(active.begin(), active.end(), file) != active.end();
    item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
  }
  if (control_.Visible(sdcMainDictFolderBrowse)) {
    locate_row_ = new QTreeWidgetItem(main_list_, {FromAnsi(control_.GetUIString(kStrLocate)), QString()});
    locate_row_->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    locate_row_->setCheckState(0, Qt::Unchecked);
    locate_row_->setFirstColumnSpanned(true);
  }
  main_list_->resizeColumnToContents(0);
  filling_ = false;
}

void TConfigurationDialog::FillCustomDictionaries() {
  filling_ = true;
  custom_->clear();
  const std::string active = control_.ActiveCustomName();
  for (const std::string& name : control_.CustomDictionaryFiles()) custom_->addItem(FromAnsi(name));
  const int index = custom_->findText(FromAnsi(active));
  if (index < 0 && !active.empty()) custom_->addItem(FromAnsi(active));
  custom_->setCurrentIndex(custom_->findText(FromAnsi(active)));
  filling_ = false;
}

void TConfigurationDialog::MainItemChanged(QTreeWidgetItem* item, int column) {
  if (filling_ || column != 0) return;
  if (item == locate_row_) {
    if (item->checkState(0) != Qt::Checked) return;
    {
      const QSignalBlocker block(main_list_);
      item->setCheckState(0, Qt::Unchecked);
    }
    // The tree reads the item again once this signal returns: it is rebuilt
    // (and the item freed) only after that.
    QTimer::singleShot(0, this, &TConfigurationDialog::LocateDictionaries);
    return;
  }
  const int row = main_list_->indexOfTopLevelItem(item);
  if (row < 0 || static_cast<size_t>(row) >= main_files_.size()) return;
  control_.EnableMainDictionary(main_files_[static_cast<size_t>(row)], item->checkState(0) == Qt::Checked);
}

void TConfigurationDialog::LocateDictionaries() {
  control_.ShowAddDictionaryDir();
  FillMainDictionaries();
}

void TConfigurationDialog::MainItemClicked(QTreeWidgetItem* item, int column) {
  // A click on the row's text toggles its tick as a click on the box does.
  if (item == nullptr || column == 0) return;
  item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

}  // namespace tovuri
