// Scene files: the records read from the XML (defaults, carried-over lens values, what is skipped
// or refused), and the cameras and lights a scene builds from a file in the archive.
#include "SceneFixture.h"
#include "Support/FrameworkFailure.h"

#include "Framework/Scene/PointLight.h"
#include "Framework/Scene/SceneFile.h"
#include "Framework/Scene/SpotLight.h"
#include "Framework/SceneHandler/Scene.h"

namespace {

const std::string Refused = "[Scene::LoadSceneData (test.xml)] ";
const std::string ParseFailure = Refused + "Error in Parse:scenenodes.xml:";

SceneFile Parse(const std::string& text)
{
    return ParseSceneFile(text, "test.xml");
}

std::string Refusal(const std::string& text)
{
    return FrameworkFailure([&] { Parse(text); });
}

std::string Repeat(const std::string& text, int times)
{
    std::string out;
    while (times-- > 0)
        out += text;
    return out;
}

std::vector<float> Values(const CameraLens& lens)
{
    return {lens.fieldOfView, lens.aspect, lens.nearZ, lens.farZ, lens.nearFocus, lens.farFocus};
}

std::vector<float> Values(const D3DXVECTOR4& v)
{
    return {v.x, v.y, v.z, v.w};
}

std::vector<float> Values(const D3DXVECTOR3& v)
{
    return {v.x, v.y, v.z};
}

} // namespace

TEST(SceneFileTest, CameraLensValuesCarryOverFromTheDefaultsAndThePreviousCamera)
{
    const SceneFile file = Parse(R"(<scene><cameras>
        <camera name="first" vFOV="0.5" nearz="1" farz="300" nearfocus="10" farfocus="30"/>
        <camera name="second" nearz="abc" aspect="2" bogus="7"/>
        <camera farz="50" vFOV="nan"/>
    </cameras></scene>)");
    ASSERT_EQ(file.cameras.size(), 3u);
    EXPECT_EQ(file.cameras[0].name, "first");
    EXPECT_EQ(Values(file.cameras[0].lens), (std::vector<float>{0.5f, 1.7777778f, 1, 300, 10, 30}));
    // A value that is not a number, and an unknown attribute, change nothing.
    EXPECT_EQ(Values(file.cameras[1].lens), (std::vector<float>{0.5f, 2, 1, 300, 10, 30}));
    EXPECT_EQ(file.cameras[2].name, ""); // names are not carried over
    EXPECT_EQ(Values(file.cameras[2].lens), (std::vector<float>{0.5f, 2, 1, 50, 10, 30}));
}

TEST(SceneFileTest, LightsNeedANameAndTakeDefaultsForMiscountedValues)
{
    const SceneFile file = Parse(R"(<scene><lights>
        <!-- <point name="commented"/> -->
        <point name="a" color="0.5 0.25 1" translation="1 2 3" castshadows="True"/>
        <area name="unknown"/>
        <point name="b" color="0.5 0.25 1 0.75" translation="1 2" castshadows="1"/>
        <point color="1 0 0 1"/>
        <point name="c" color="1 inf 0 1" castshadows="true"/>
        <spot name="s" rotation="0.1 0.2 0.3" radius="12.5m" coneangle="abc" penumbraangle="1e999"/>
        <spot name="t" rotation="0.1 0.2"/>
    </lights></scene>)");
    ASSERT_EQ(file.lights.size(), 5u);
    const SceneLight &a = file.lights[0], &b = file.lights[1], &c = file.lights[2], &s = file.lights[3];
    EXPECT_EQ(a.name + b.name + c.name + s.name + file.lights[4].name, "abcst");
    EXPECT_EQ(Values(a.colour), (std::vector<float>{1, 1, 1, 1})); // three numbers are not a colour
    EXPECT_EQ(Values(a.position), (std::vector<float>{1, 2, 3}));
    EXPECT_FALSE(a.castShadows);
    EXPECT_EQ(Values(b.colour), (std::vector<float>{0.5f, 0.25f, 1, 0.75f}));
    EXPECT_EQ(Values(b.position), (std::vector<float>{0, 0, 0}));
    EXPECT_FALSE(b.castShadows);
    EXPECT_EQ(Values(c.colour), (std::vector<float>{1, 1, 1, 1})); // a number that is not finite is none
    EXPECT_TRUE(c.castShadows);

    EXPECT_EQ(s.kind, SceneLight::Kind::Spot);
    EXPECT_EQ(Values(s.rotation), (std::vector<float>{0.1f, 0.2f, 0.3f}));
    EXPECT_EQ(s.radius, 12.5f); // the leading number
    EXPECT_EQ(s.coneAngle, 0.0f);
    EXPECT_EQ(s.penumbraAngle, 0.0f);
    EXPECT_EQ(Values(file.lights[4].rotation), (std::vector<float>{0, 0, 0}));
}

TEST(SceneFileTest, TextThatIsNotXmlIsRefusedWithTheParsersDescription)
{
    EXPECT_EQ(Refusal(""), ParseFailure + "Error document empty.");
    EXPECT_EQ(Refusal("<scene><cameras></scene>"), ParseFailure + "Error reading end tag.");
    // A zero byte would end the parser's text early and drop the rest of the file unseen.
    EXPECT_EQ(Refusal(std::string("<scene/>\0<scene>", 16)), ParseFailure + "NUL character at byte 8");
    // Cut off inside a UTF-8 character, where the parser steps past the end of the text.
    EXPECT_EQ(Refusal("<?xml version=\"1.0\"?><a b='\xE8"), ParseFailure + "Error parsing Element.");
    EXPECT_EQ(Refusal("<?xml version=\"1.0\"?><a>\xF0"), ParseFailure + "Error reading Element value.");
}

TEST(SceneFileTest, NestingDeeperThanAnySceneFileIsRefusedBeforeParsing)
{
    const std::string tooDeep = ParseFailure + "elements nested more than 256 deep";
    EXPECT_EQ(Refusal(Repeat("<a>", 200000)), tooDeep); // deep enough to overflow a recursive parser's stack
    EXPECT_EQ(Refusal(Repeat("<a>", 257) + Repeat("</a>", 257)), tooDeep);
    EXPECT_NO_THROW(Parse(Repeat("<a>", 256) + Repeat("</a>", 256)));
    // Values cannot hide the nesting, and "/>" counts only where it ends a tag; a quote in text,
    // or one the parser does not take as a value, hides nothing either.
    for (const char* level : {"<a x=\"/>\">", "<a x = '/>' >", "<a>'", "<a x=b\"c>"})
        EXPECT_EQ(Refusal(Repeat(level, 300)), tooDeep) << level;
    // Wide files and tags inside values, comments and CDATA are not deep.
    EXPECT_NO_THROW(Parse("<scene>" + Repeat("<a x='<b>'/>", 1000) + "<!--" + Repeat("<a>", 1000) + "--><![CDATA[" +
                          Repeat("<b>", 1000) + "]]></scene>"));
}

TEST(SceneFileTest, ALensNoProjectionCanBeBuiltFromIsRefusedNamingTheCamera)
{
    auto camera = [](const std::string& attributes) {
        return Refusal("<scene><cameras><camera name=\"c\" " + attributes + "/></cameras></scene>");
    };
    EXPECT_EQ(camera("vFOV=\"3.2\""), Refused + "camera \"c\": vFOV 3.2 is not between 0 and pi");
    EXPECT_EQ(camera("aspect=\"0\""), Refused + "camera \"c\": aspect 0 is not above 0");
    EXPECT_EQ(camera("nearz=\"5\" farz=\"5\""), Refused + "camera \"c\": nearz 5 and farz 5 do not satisfy 0 < nearz < farz");
    EXPECT_EQ(camera("vFOV=\"3.1\" aspect=\"0.01\" nearz=\"1e-3\" farz=\"1e6\""), "(no failure)");
}

class SceneDataTest : public SceneFixture {
protected:
    static std::vector<unsigned char> SceneText(const std::string& body) { return Bytes("<scene>" + body + "</scene>"); }

    template <class Kind>
    Kind& LightOf(const std::string& name)
    {
        auto* light = dynamic_cast<Kind*>(scene.lights.at(name).get());
        EXPECT_NE(light, nullptr) << name;
        return *light;
    }

    Scene scene{"S"};
};

TEST_F(SceneDataTest, CamerasTakeTheirLensesFromTheFileAndTheLastOneIsActive)
{
    Start({{"Data\\cams.xml", SceneText(R"(<cameras><camera name="camB" vFOV="1.0" aspect="2.0" nearz="0.5" farz="50"/>
                                                   <camera name="camA" farz="80"/></cameras>)")}});
    scene.LoadSceneData("cams.xml");
    ASSERT_EQ(scene.cameraSet.Cameras().size(), 2u);
    EXPECT_EQ(scene.cameraSet.GetActiveCamera()->name, "camA");
    // cot(0.5) = 1.8304877 over the aspect; camA keeps that and has its own depth 0.5..80.
    const D3DXMATRIX& p = scene.cameraSet.GetActiveCamera()->projection;
    EXPECT_NEAR(p(0, 0), 1.8304877 / 2.0, 1e-6);
    EXPECT_NEAR(p(2, 2), 80.0 / (0.5 - 80.0), 1e-6);
    EXPECT_NEAR(p(3, 2), 0.5 * 80.0 / (0.5 - 80.0), 1e-6);
}

TEST_F(SceneDataTest, LightsFollowTheirCurvesOnlyWhenAllOfThemAreThere)
{
    ArchiveEntries entries = {
        {"Data\\lights.xml", SceneText(R"(<lights><point name="Lamp" translation="9 9 9"/><point name="Still" translation="1 2 3"/>
            <spot name="Fixed" translation="1 2 3" rotation="0 1.5707964 0" radius="40"/><spot name="Moving"/>
            <point name="Twice"/><spot name="Twice" radius="5"/></lights>)")},
        {"Data\\anim\\LampX", LinearCurve(1.0f, 2.0f)}, {"Data\\anim\\LampY", ConstantCurve(-3.0f)},
        {"Data\\anim\\LampZ", ConstantCurve(4.0f)}, {"Data\\anim\\StillX", ConstantCurve(50.0f)}};
    for (const char* channel : {"translateX", "translateY", "translateZ", "rotateY", "rotateZ"})
        entries["Data\\anim\\Moving." + std::string(channel)] = ConstantCurve(channel[0] == 't' ? 6.0f : 0.0f);
    entries["Data\\anim\\Moving.rotateX"] = ConstantCurve(-1.5707964f);
    Start(entries);
    scene.LoadSceneData("lights.xml");
    ASSERT_EQ(scene.lights.size(), 5u);

    PointLight& lamp = LightOf<PointLight>("Lamp");
    EXPECT_EQ(lamp.radius, 100.0f);
    EXPECT_EQ(Values(lamp.position), (std::vector<float>{9, 9, 9})); // until the first update
    lamp.update(2.0f);
    EXPECT_EQ(Values(lamp.position), (std::vector<float>{5, -3, 4}));
    // Without StillY and StillZ the light stays put; only the first missing curve is reported.
    LightOf<PointLight>("Still").update(2.0f);
    EXPECT_EQ(Values(LightOf<PointLight>("Still").position), (std::vector<float>{1, 2, 3}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("\"StillZ\""), std::string::npos) << boxes[0];

    // A quarter turn about Y: R's rows (0, 0, -1), (0, 1, 0), (1, 0, 0); view = T(-p) * R^T.
    SpotLight& fixed = LightOf<SpotLight>("Fixed");
    EXPECT_EQ(fixed.animation, nullptr);
    EXPECT_EQ(fixed.radius, 40.0f);
    const float world[4][4] = {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {1, 2, 3, 1}};
    const float view[4][4] = {{0, 0, 1, 0}, {0, 1, 0, 0}, {-1, 0, 0, 0}, {3, -2, -1, 1}};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            EXPECT_NEAR(fixed.world(row, column), world[row][column], 1e-6) << row << ", " << column;
            EXPECT_NEAR(fixed.view(row, column), view[row][column], 1e-6) << row << ", " << column;
        }

    // A quarter turn back about X: R's rows (1, 0, 0), (0, 0, -1), (0, 1, 0); at (6, 6, 6).
    SpotLight& moving = LightOf<SpotLight>("Moving");
    ASSERT_NE(moving.animation, nullptr);
    moving.update(3.0f);
    EXPECT_EQ(Values(moving.position), (std::vector<float>{6, 6, 6}));
    EXPECT_NEAR(moving.world(2, 1), 1.0f, 1e-6);
    EXPECT_NEAR(moving.world(3, 2), 6.0f, 1e-6);
    EXPECT_NEAR(moving.view(3, 0), -6.0f, 1e-5);
    EXPECT_NEAR(moving.view(3, 1), 6.0f, 1e-5);
    EXPECT_NEAR(moving.view(3, 2), -6.0f, 1e-5);

    EXPECT_EQ(LightOf<SpotLight>("Twice").radius, 5.0f); // the later of one name, whatever its kind
}

TEST_F(SceneDataTest, ReloadingReplacesEverythingAndARefusedFileKeepsWhatWasThere)
{
    Start({{"Data\\a.xml", SceneText(R"(<cameras><camera name="one"/><camera name="two"/></cameras>
                                        <lights><point name="p"/></lights>)")},
           {"Data\\b.xml", SceneText(R"(<cameras><camera name="three"/></cameras>)")}});
    scene.LoadSceneData("a.xml");
    EXPECT_EQ(scene.cameraSet.Cameras().size(), 2u);
    EXPECT_EQ(scene.lights.size(), 1u);
    scene.LoadSceneData("b.xml");
    EXPECT_TRUE(scene.lights.empty());

    EXPECT_EQ(FrameworkFailure([&] { scene.LoadSceneData("missing.xml"); }),
              "[Scene::LoadSceneData (missing.xml)] Error in Parse:scenenodes.xml:Error document empty.");
    ASSERT_EQ(scene.cameraSet.Cameras().size(), 1u);
    EXPECT_EQ(scene.cameraSet.GetActiveCamera()->name, "three");
}
