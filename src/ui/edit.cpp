// Edit commands on the selected figure and the colour palette.
#include "ui/Unit1.h"

void TTamloForm::DupBtnClick() {}
void TTamloForm::DeleteBtnClick() {}
void TTamloForm::UndoBtnClick() {}
void TTamloForm::FrontBackBtnClick(QAbstractButton*) {}
void TTamloForm::AttrChangeBtnClick(QAbstractButton*) {}
void TTamloForm::ChangeTextBtnClick() {}
void TTamloForm::ColorPanelClick(TColorPanel*) {}
void TTamloForm::ClearPanelClick() {}
TColor TTamloForm::ChosenColor() const { return clBlack; }
