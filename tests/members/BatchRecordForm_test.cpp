#include "members/BatchRecordForm.h"

#include "tests/members/FormDriving_test.h"
#include "tests/support/PromptResponder.h"

#include "platform/ui/DbLineEdit.h"

#include <QBoxLayout>
#include <memory>

using namespace formtest;

namespace {

// The smallest form over the frame: the steps of serveflow, keyed by the
// step number box.
class StepsForm : public BatchRecordForm {
public:
    explicit StepsForm(db::Dataset& steps)
        : BatchRecordForm(nullptr, QStringLiteral("FrmSteps"), QStringLiteral("步骤"), 4, steps)
    {
        stepNoBox_ = new ui::DbLineEdit(source(), QStringLiteral("step_no"), this);
        body()->addWidget(stepNoBox_);
        setRecord(&steps, stepNoBox_, QStringLiteral("step_no"));
        runFormCreate([&steps] {
            steps.close();
            steps.setSql(QStringLiteral("select * from ServeFlow order by step_no"));
            steps.setLockType(db::LockType::BatchOptimistic);
            steps.open();
        });
    }

    ui::DbLineEdit* stepNoBox() const { return stepNoBox_; }

private:
    ui::DbLineEdit* stepNoBox_;
};

class BatchRecordFormTest : public TestDb {
protected:
    void SetUp() override
    {
        TestDb::SetUp();
        exec("insert into serveflow (serve_code, step_no, use_time) values ('S1', '1', 10), ('S1', '2', 20)");
        loadMessageCatalogue(dataMod());
        grantAllRights();
    }

    std::unique_ptr<StepsForm> openForm()
    {
        auto f = std::make_unique<StepsForm>(steps());
        show(*f);
        return f;
    }

    db::Dataset& steps() { return dataMod().ServeFlowQ; }
};

} // namespace

TEST_F(BatchRecordFormTest, ADeletionTheTableRefusesBringsTheRecordBackAndLeavesNothingPending)
{
    exec("create trigger keep_steps before delete on serveflow begin select raise(abort, 'kept'); end");
    auto f = openForm();
    {
        testui::PromptResponder prompts;
        prompts.expect(QStringLiteral("确认删除?"), {ui::Answer::Ok});
        click(f->controls().cmd_dele);
    }
    EXPECT_EQ(count("serveflow"), 2);
    EXPECT_EQ(steps().recordCount(), 2);
    EXPECT_FALSE(steps().hasPendingChanges());

    // A later save of another step does not write the refused deletion unasked.
    exec("drop trigger keep_steps");
    click(f->controls().cmd_add);
    retype(f->stepNoBox(), QStringLiteral("3"));
    click(f->controls().cmd_save);
    EXPECT_EQ(count("serveflow"), 3);
}

TEST_F(BatchRecordFormTest, WithTheKeyBoxBlankDeleteAsksNothingAndDeletesNothing)
{
    exec("delete from serveflow");
    exec("insert into serveflow (serve_code, step_no, use_time) values ('S1', null, 10)");
    auto f = openForm();
    ASSERT_TRUE(f->stepNoBox()->text().isEmpty());
    testui::PromptResponder prompts; // any prompt fails the test
    click(f->controls().cmd_dele);
    EXPECT_EQ(prompts.count(), 0);
    EXPECT_EQ(count("serveflow"), 1);
}

TEST_F(BatchRecordFormTest, ClosingTheFormDropsWhatWasNotSaved)
{
    auto f = openForm();
    click(f->controls().cmd_add);
    retype(f->stepNoBox(), QStringLiteral("3"));
    f.reset();
    EXPECT_FALSE(steps().isActive());
    EXPECT_EQ(count("serveflow"), 2);
}
