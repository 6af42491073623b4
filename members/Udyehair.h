#pragma once

#include "members/RecipeForm.h"

// The hair-dye recipe of each service item (table dyehair over DyeHairQ):
// dye kind, base and target colour, the treatment before, during and after,
// product and quantity, and the plan and timing for roots, middle lengths and
// ends. The combos offer exactly the values of the salon's lists and of the
// stored recipes, rebuilt after a delete. Rights position 6.
class TFrmDyeHair : public RecipeForm {
    Q_OBJECT
public:
    static constexpr int kPosition = 6;

    explicit TFrmDyeHair(QWidget* owner = nullptr);

private:
    void buildRecipeBoxes();
};
