#pragma once

#include "members/RecipeForm.h"

// The perm recipe of each service item (table marcel over MarcelQ): perm
// method, styling, curl, solution, the treatment before, during and after,
// the rollers zone by zone and the solution timings. The combos offer the
// salon's lists from the basic settings and the values stored before; a
// delete keeps what they offer. Rights position 5.
class TFrmMarcel : public RecipeForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 5;

    explicit TFrmMarcel(QWidget* owner = nullptr);

private:
    void buildRecipeBoxes();
};
