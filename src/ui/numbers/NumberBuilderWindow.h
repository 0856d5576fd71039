#pragma once
// The window 買い目作成: the digits allowed at each position (or in any
// order) and the conditions the analyses define — sum, even and low counts,
// number type, digits that must or must not appear, not drawn lately — give
// the numbers to buy. The count, its two shares, the cost and the list follow
// every change at once; 購入していたら replays buying them over the history.
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "core/numbers/NumberFilter.h"
#include "core/prediction/PredictedDigits.h"
#include "ui/grid/GridViewMenu.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace n4 {

class GridView;
class IfBoughtPanel;

class NumberBuilderWindow : public QWidget {
    Q_OBJECT
  public:
    // prediction: the digits the prediction window shows now.
    NumberBuilderWindow(const DrawTable& table, std::function<PredictedDigits()> prediction,
                        QWidget* parent = nullptr);

    // Counts again over the draws as they now are (after an import or an edit).
    void setDraws(const DrawTable& table);
    // Where 「CSV で保存…」 and the list's own menu ask for a file; tests answer.
    void setFileChooser(GridViewMenu::FileChooser chooser);
    // Writes the list as CSV; false with the reason in Japanese.
    bool saveCsvTo(const QString& path, QString& error) const;

    const NumberFilter& filter() const { return filter_; }
    BuyKind buyKind() const;
    const std::vector<int>& passing() const { return passing_; }

    QAbstractButton* digitToggle(int position, int digit) const {
        return toggles_[static_cast<size_t>(position - 1)][static_cast<size_t>(digit)];
    }
    QCheckBox* anyOrderBox() const { return anyOrder_; }
    QPushButton* predictionButton() const { return fromPrediction_; }
    QPushButton* ippatsuButton() const { return fromIppatsu_; }
    QSpinBox* sumMinBox() const { return sumMin_; }
    QSpinBox* sumMaxBox() const { return sumMax_; }
    QCheckBox* evenBox(int count) const { return even_[static_cast<size_t>(count)]; }
    QCheckBox* lowBox(int count) const { return low_[static_cast<size_t>(count)]; }
    QCheckBox* typeBox(NumberType t) const { return types_[static_cast<size_t>(t)]; }
    QLineEdit* mustEdit() const { return must_; }
    QLineEdit* mustNotEdit() const { return mustNot_; }
    QSpinBox* notInOrderBox() const { return notInOrder_; }
    QSpinBox* notAnyOrderBox() const { return notAnyOrder_; }
    QLabel* hintLabel() const { return hint_; }
    QComboBox* kindChooser() const { return kind_; }
    QSpinBox* unitsBox() const { return units_; }
    QLabel* countLabel() const { return count_; }
    QLabel* costLabel() const { return cost_; }
    QComboBox* orderChooser() const { return order_; }
    QPushButton* saveCsvButton() const { return saveCsv_; }
    QLabel* saveLabel() const { return saved_; }
    GridView* listView() const { return list_; }
    IfBoughtPanel* ifBoughtPanel() const { return ifBought_; }

    QPushButton* toLedgerButton() const { return toLedger_; }

  signals:
    void closeRequested();
    // 購入記録へ: the numbers listed, as the window would buy them.
    void handOver(const std::vector<int>& numbers, BuyKind kind, int units);

  private:
    QGroupBox* buildPositions();
    QGroupBox* buildConditions();
    QGroupBox* buildPurchase();
    QGroupBox* buildResult();
    QCheckBox* conditionBox(const QString& text);
    void setRow(int position, bool on);
    void takePrediction();
    void takeIppatsu();
    // Reads the controls into the filter; hints for what cannot be read.
    void readFilter();
    void refresh();
    void showList();
    void askAndSaveCsv();

    DrawTable draws_;
    std::function<PredictedDigits()> prediction_;
    NumberFilter filter_;
    std::vector<int> passing_;
    bool quiet_ = true; // while the controls are built, or a button sets many at once
    GridViewMenu::FileChooser chooser_;

    std::array<std::array<QAbstractButton*, 10>, 4> toggles_{};
    QCheckBox* anyOrder_ = nullptr;
    QPushButton *fromPrediction_ = nullptr, *fromIppatsu_ = nullptr;
    QSpinBox *sumMin_ = nullptr, *sumMax_ = nullptr;
    std::array<QCheckBox*, 5> even_{}, low_{};
    std::array<QCheckBox*, kNumberTypeCount> types_{};
    QLineEdit *must_ = nullptr, *mustNot_ = nullptr;
    QSpinBox *notInOrder_ = nullptr, *notAnyOrder_ = nullptr;
    QLabel* hint_ = nullptr;
    QComboBox* kind_ = nullptr;
    QSpinBox* units_ = nullptr;
    QLabel *count_ = nullptr, *cost_ = nullptr, *saved_ = nullptr;
    QComboBox* order_ = nullptr;
    QPushButton* saveCsv_ = nullptr;
    QPushButton* toLedger_ = nullptr;
    GridView* list_ = nullptr;
    IfBoughtPanel* ifBought_ = nullptr;
};

// Digits typed into 必ず含む / 含まない: half- or full-width, separated or
// not by spaces, commas or 「、」. False with a hint otherwise.
bool parseDigitSet(const QString& text, std::bitset<10>& digits, QString& hint);

} // namespace n4
