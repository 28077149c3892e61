#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "BCdrag.h"
#include "BulletFiles.h"
#include "CBulletDimensions.h"
#include "CBulletsArray.h"
#include "Dialog.h"
#include "DragFunc.h"
#include "KeptFiles.h"

// "Калькулятор драг-функции по форме пули": the drag function, BC and stability of a bullet estimated
// from its measured shape. Works on the data folder's current bullet and bullet database, loaded when
// it opens. After kIdOk ("Сохранить в драг-функцию и закрыть", only with results that can be used)
// the opener takes dragFunc(): the preset function with the estimated points and bullet data.
class CDlgBCCalc : public ui::Dialog {
public:
    enum : int {
        IDD = 190,
        kName = 1001,
        kVelocity = 1002,
        kTwist = 1003,
        kWeight = 1004,
        kTangent = 1005,
        kSecant = 1006,
        kConical = 1007,
        kOgiveRadius = 1008,
        kLength = 1009,
        kDiameter = 1010,
        kNoseLength = 1011,
        kMeplat = 1012,
        kBoatTail = 1013,
        kBaseDiameter = 1014,
        kModelG1 = 1015,
        kModelG7 = 1016,
        kBallisticCoefficient = 1017,
        kSectionalDensity = 1018,
        kTwistForStability = 1019,
        kStabilityFactor = 1020,
        kBallisticCoefficientLabel = 1021,
        kPicture = 1022,
        kCalculate = 1030,
        kShowCurve = 1031,
        kFromDatabase = 1032,
        kToDatabase = 1033,
    };

    CDlgBCCalc(std::filesystem::path dataFolder, ui::Dialog* parent = nullptr);
    static ui::DialogTemplate makeTemplate();

    // The function being edited; its description, number and kind stay as they are.
    void setDragFunc(const DragFunc& f) { dragFunc_ = f; }
    const DragFunc& dragFunc() const { return dragFunc_; }

    // Where the older files are looked for (the root of the current drive unless a test says
    // otherwise; empty: not looked for). Before the dialog opens.
    void setRootFolder(std::filesystem::path root) { folders_.root = std::move(root); }

    // What the dialog works on (for the opener's tests).
    const CBulletDimensions& currentBullet() const { return current_; }
    const CBulletsArray& database() const { return database_; }

protected:
    bool onInitDialog() override;
    void doDataExchange(ui::DataExchange& dx) override;
    void onCommand(int id, ui::Notify n) override;
    void onOK() override;
    void onPaint(int id, ui::Canvas& canvas) override;

private:
    // The fields as the dialog shows them.
    struct Fields {
        CBulletDimensions bullet;
        std::string name;  // UTF-8
        int nose = 1;      // radio index: Tangent, Secant, Conical
        int model = 0;     // radio index: G1, G7
    };

    void loadFiles();
    void fillFromCurrent();
    // The fields into the current bullet; false (nothing changed) when a field does not parse.
    bool takeIntoCurrent();
    // "Вычислить драг-функцию": the current bullet saved, the estimate made and shown. False when a
    // field does not parse or the results cannot be used (the reason is then in unusable_).
    bool calculate();
    // The refusal shown when the results cannot be handed on.
    void refuseUnusable(const std::string& what);
    void showCurve();
    void takeFromDatabase();
    void saveToDatabase();
    // Writes the database, first copying a file that was not read whole aside; a message when it
    // could not be written.
    bool writeDatabase(std::string& note);
    void saveCurrentFile();
    void showModelLabel();
    // The shape as the fields hold it now (the last good value of a field that does not parse).
    CBulletDimensions shownShape() const;

    BulletFiles::Folders folders_;
    DragFunc dragFunc_;
    CBulletDimensions current_;
    CBulletsArray database_;
    KeptFiles keptDatabase_;      // a database file that was not read whole
    Fields fields_;
    BCdrag estimate_;
    std::vector<DragElement> table_;
    std::string unusable_;        // what the last estimate could not give; empty when usable
    bool currentSaveFailed_ = false;  // told once per opening
};
