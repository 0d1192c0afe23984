// Scene files: the records read from the XML (defaults, carried-over lens values, what is skipped
// or refused), and the cameras and lights a scene builds from a file in the archive.
#include "SceneFixture.h"
#include "Support/FrameworkFailure.h"

#include "Framework/Scene/PointLight.h"
#include "Framework/Scene/SceneFile.h"
#include "Framework/Scene/SpotLight.h"
#include "Framework/SceneHandler/Scene.h"

#include <cmath>

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
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

void ExpectLens(const CameraLens& lens, float fov, float aspect, float nearZ, float farZ, float nearFocus, float farFocus)
{
    EXPECT_FLOAT_EQ(lens.fieldOfView, fov);
    EXPECT_FLOAT_EQ(lens.aspect, aspect);
    EXPECT_FLOAT_EQ(lens.nearZ, nearZ);
    EXPECT_FLOAT_EQ(lens.farZ, farZ);
    EXPECT_FLOAT_EQ(lens.nearFocus, nearFocus);
    EXPECT_FLOAT_EQ(lens.farFocus, farFocus);
}

void ExpectColour(const D3DXVECTOR4& colour, float r, float g, float b, float a)
{
    EXPECT_EQ(colour.x, r);
    EXPECT_EQ(colour.y, g);
    EXPECT_EQ(colour.z, b);
    EXPECT_EQ(colour.w, a);
}

void ExpectVector(const D3DXVECTOR3& v, float x, float y, float z, float tolerance = 0.0f)
{
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
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
    ExpectLens(file.cameras[0].lens, 0.5f, 1.7777778f, 1.0f, 300.0f, 10.0f, 30.0f);
    // A value that is not a number, and an unknown attribute, change nothing.
    EXPECT_EQ(file.cameras[1].name, "second");
    ExpectLens(file.cameras[1].lens, 0.5f, 2.0f, 1.0f, 300.0f, 10.0f, 30.0f);
    // No name: an empty one, and the name is not carried over.
    EXPECT_EQ(file.cameras[2].name, "");
    ExpectLens(file.cameras[2].lens, 0.5f, 2.0f, 1.0f, 50.0f, 10.0f, 30.0f);
}

TEST(SceneFileTest, PointLightsTakeDefaultsForAbsentOrMiscountedValuesAndNeedAName)
{
    const SceneFile file = Parse(R"(<scene><lights>
        <!-- <point name="commented"/> -->
        <point name="a" color="0.5 0.25 1" translation="1 2 3" castshadows="True" radius="7"/>
        <area name="unknown"/>
        <point name="b" color="0.5 0.25 1 0.75" translation="1 2" castshadows="1"/>
        <point color="1 0 0 1"/>
        <point name="c" color="1 inf 0 1" castshadows="true"/>
    </lights></scene>)");
    ASSERT_EQ(file.lights.size(), 3u);
    const SceneLight &a = file.lights[0], &b = file.lights[1], &c = file.lights[2];
    EXPECT_EQ(a.name, "a");
    EXPECT_EQ(a.kind, SceneLight::Kind::Point);
    ExpectColour(a.colour, 1, 1, 1, 1); // three numbers are not a colour
    ExpectVector(a.position, 1, 2, 3);
    EXPECT_FALSE(a.castShadows);
    EXPECT_EQ(a.radius, 0.0f); // a point light's radius is not read

    EXPECT_EQ(b.name, "b");
    ExpectColour(b.colour, 0.5f, 0.25f, 1.0f, 0.75f);
    ExpectVector(b.position, 0, 0, 0);
    EXPECT_FALSE(b.castShadows);

    EXPECT_EQ(c.name, "c");
    ExpectColour(c.colour, 1, 1, 1, 1); // a number that is not finite is no number
    EXPECT_TRUE(c.castShadows);
}

TEST(SceneFileTest, SpotLightsReadLeadingNumbersAndExactVectors)
{
    const SceneFile file = Parse(R"(<scene><lights>
        <spot name="s1" color="0 0.5 1 1" translation="1 2 3" rotation="0.1 0.2 0.3" radius="12.5m"
              coneangle="abc" castshadows="true"/>
        <spot name="s2" rotation="0.1 0.2" radius=" 4" coneangle="0.6" penumbraangle="1e999"/>
        <spot translation="1 1 1"/>
    </lights></scene>)");
    ASSERT_EQ(file.lights.size(), 2u);
    const SceneLight &s1 = file.lights[0], &s2 = file.lights[1];
    EXPECT_EQ(s1.kind, SceneLight::Kind::Spot);
    ExpectColour(s1.colour, 0, 0.5f, 1, 1);
    ExpectVector(s1.position, 1, 2, 3);
    ExpectVector(s1.rotation, 0.1f, 0.2f, 0.3f);
    EXPECT_EQ(s1.radius, 12.5f);
    EXPECT_EQ(s1.coneAngle, 0.0f);
    EXPECT_EQ(s1.penumbraAngle, 0.0f);
    EXPECT_TRUE(s1.castShadows);

    ExpectVector(s2.rotation, 0, 0, 0);
    EXPECT_EQ(s2.radius, 4.0f);
    EXPECT_FLOAT_EQ(s2.coneAngle, 0.6f);
    EXPECT_EQ(s2.penumbraAngle, 0.0f);
}

TEST(SceneFileTest, OnlyTheFirstSceneCamerasAndLightsElementsAreRead)
{
    EXPECT_TRUE(Parse("<other><cameras><camera name=\"a\"/></cameras></other>").cameras.empty());
    EXPECT_TRUE(Parse("<scene/>").cameras.empty());
    const SceneFile file = Parse(R"(<?xml version="1.0"?>
        <scene>
          <cameras><note/><camera name="a"/></cameras>
          <cameras><camera name="b"/></cameras>
          <lights><point name="p"/></lights>
          <lights><point name="q"/></lights>
        </scene>)");
    ASSERT_EQ(file.cameras.size(), 1u);
    EXPECT_EQ(file.cameras[0].name, "a");
    ASSERT_EQ(file.lights.size(), 1u);
    EXPECT_EQ(file.lights[0].name, "p");
}

TEST(SceneFileTest, TextThatIsNotXmlIsRefusedWithTheParsersDescription)
{
    EXPECT_EQ(Refusal(""), ParseFailure + "Error document empty.");
    EXPECT_EQ(Refusal("   \n"), ParseFailure + "Error document empty.");
    const std::string unclosed = Refusal("<scene><cameras></scene>");
    EXPECT_EQ(unclosed.rfind(ParseFailure, 0), 0u) << unclosed;
    EXPECT_GT(unclosed.size(), ParseFailure.size());
    // A zero byte would end the parser's text early and drop the rest of the file unseen.
    EXPECT_EQ(Refusal(std::string("<scene/>\0<scene>", 16)), ParseFailure + "NUL character at byte 8");
}

TEST(SceneFileTest, NestingDeeperThanAnySceneFileIsRefusedBeforeParsing)
{
    const std::string tooDeep = ParseFailure + "elements nested more than 256 deep";
    // Deep enough to overflow the stack of a recursive parser.
    EXPECT_EQ(Refusal(Repeat("<a>", 200000)), tooDeep);
    // Values and comments cannot hide the nesting, and "/>" counts only where it ends a tag.
    EXPECT_EQ(Refusal(Repeat("<a x=\"/>\">", 300)), tooDeep);
    EXPECT_EQ(Refusal(Repeat("<a x='/>'>", 300)), tooDeep);
    EXPECT_EQ(Refusal(Repeat("<a x = 'v' >", 300)), tooDeep);
    // A quote in text, or one not opening a value, hides nothing.
    EXPECT_EQ(Refusal(Repeat("<a>'", 300)), tooDeep);
    EXPECT_EQ(Refusal(Repeat("<a x=b\"c>", 300)), tooDeep);

    // 257 levels is the shallowest refused; wide files, and tags inside comments, are not deep.
    EXPECT_EQ(Refusal(Repeat("<a>", 257) + Repeat("</a>", 257)), tooDeep);
    EXPECT_NO_THROW(Parse(Repeat("<a>", 256) + Repeat("</a>", 256)));
    EXPECT_NO_THROW(Parse("<scene>" + Repeat("<a x='<b>'/>", 1000) + "</scene>"));
    EXPECT_NO_THROW(Parse("<scene><!--" + Repeat("<a>", 1000) + "--><![CDATA[" + Repeat("<b>", 1000) + "]]></scene>"));
}

TEST(SceneFileTest, ALensNoProjectionCanBeBuiltFromIsRefusedNamingTheCamera)
{
    auto camera = [](const std::string& attributes) {
        return Refusal("<scene><cameras><camera name=\"c\" " + attributes + "/></cameras></scene>");
    };
    EXPECT_EQ(camera("vFOV=\"0\""), Refused + "camera \"c\": vFOV 0 is not between 0 and pi");
    EXPECT_EQ(camera("vFOV=\"3.2\""), Refused + "camera \"c\": vFOV 3.2 is not between 0 and pi");
    EXPECT_EQ(camera("aspect=\"0\""), Refused + "camera \"c\": aspect 0 is not above 0");
    EXPECT_EQ(camera("nearz=\"0\""), Refused + "camera \"c\": nearz 0 and farz 100 do not satisfy 0 < nearz < farz");
    EXPECT_EQ(camera("nearz=\"5\" farz=\"5\""),
              Refused + "camera \"c\": nearz 5 and farz 5 do not satisfy 0 < nearz < farz");
    EXPECT_EQ(camera("vFOV=\"3.1\" aspect=\"0.01\" nearz=\"1e-3\" farz=\"1e6\""), "(no failure)");
}

class SceneDataTest : public SceneFixture {
protected:
    static std::vector<unsigned char> SceneText(const std::string& body)
    {
        return Bytes("<?xml version=\"1.0\"?>\n<scene>\n" + body + "\n</scene>\n");
    }

    template <class Kind>
    Kind& LightOf(Scene& scene, const std::string& name)
    {
        auto found = scene.lights.find(name);
        EXPECT_NE(found, scene.lights.end()) << name;
        auto* light = dynamic_cast<Kind*>(found->second.get());
        EXPECT_NE(light, nullptr) << name;
        return *light;
    }

    Scene scene{"S"};
};

TEST_F(SceneDataTest, BuildsTheCamerasWithTheirLensesAndTheLastOneActive)
{
    Start({{"Data\\cams.xml", SceneText(R"(<cameras>
             <camera name="camB" vFOV="1.0" aspect="2.0" nearz="0.5" farz="50" nearfocus="10" farfocus="30"/>
             <camera name="camA" farz="80"/>
           </cameras>)")}});
    scene.LoadSceneData("cams.xml");

    const auto& cameras = scene.cameraSet.Cameras();
    ASSERT_EQ(cameras.size(), 2u);
    EXPECT_EQ(scene.cameraSet.GetActiveCamera()->name, "camA");
    const Camera& camB = *cameras.at("camB");
    EXPECT_EQ(camB.lens.nearFocus, 10.0f);
    EXPECT_EQ(camB.lens.farFocus, 30.0f);
    // cot(0.5) = 1.8304877; x scaled by it over the aspect; depth 0.5..50.
    const double cot = 1.8304877;
    const D3DXMATRIX& p = camB.projection;
    EXPECT_NEAR(p(0, 0), cot / 2.0, 1e-5);
    EXPECT_NEAR(p(1, 1), cot, 1e-5);
    EXPECT_NEAR(p(2, 2), 50.0 / (0.5 - 50.0), 1e-6);
    EXPECT_EQ(p(2, 3), -1.0f);
    EXPECT_NEAR(p(3, 2), 0.5 * 50.0 / (0.5 - 50.0), 1e-6);
    EXPECT_EQ(p(3, 3), 0.0f);
    // camA carried camB's lens but its own far distance.
    EXPECT_NEAR(cameras.at("camA")->projection(2, 2), 80.0 / (0.5 - 80.0), 1e-6);
    EXPECT_NEAR(cameras.at("camA")->projection(0, 0), cot / 2.0, 1e-5);
}

TEST_F(SceneDataTest, PointLightsFollowTheirCurvesOnlyWhenAllThreeAreThere)
{
    Start({{"Data\\lights.xml", SceneText(R"(<lights>
             <point name="Lamp" color="1 0.5 0.25 1" translation="9 9 9" castshadows="true"/>
             <point name="Still" translation="1 2 3"/>
           </lights>)")},
           {"Data\\anim\\LampX", LinearCurve(1.0f, 2.0f)},
           {"Data\\anim\\LampY", ConstantCurve(-3.0f)},
           {"Data\\anim\\LampZ", LinearCurve(0.0f, -1.0f)},
           {"Data\\anim\\StillX", ConstantCurve(50.0f)},
           {"Data\\anim\\StillY", ConstantCurve(50.0f)}});
    scene.LoadSceneData("lights.xml");
    ASSERT_EQ(scene.lights.size(), 2u);

    PointLight& lamp = LightOf<PointLight>(scene, "Lamp");
    EXPECT_EQ(lamp.radius, 100.0f);
    EXPECT_TRUE(lamp.castShadows);
    EXPECT_EQ(lamp.sphere, nullptr);
    ExpectColour(lamp.colour, 1, 0.5f, 0.25f, 1);
    ExpectVector(lamp.position, 9, 9, 9); // the file's place until the first update
    ASSERT_NE(lamp.positionCurves, nullptr);
    lamp.update(2.0f);
    ExpectVector(lamp.position, 5, -3, -2, 1e-5f);

    // StillZ is missing: the light keeps its file place, and the missing curve is reported once.
    PointLight& still = LightOf<PointLight>(scene, "Still");
    EXPECT_EQ(still.positionCurves, nullptr);
    still.update(2.0f);
    ExpectVector(still.position, 1, 2, 3);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("\"StillZ\""), std::string::npos) << boxes[0];
}

TEST_F(SceneDataTest, SpotLightsArePlacedByTheFileAndMovedByAllSixNodeCurves)
{
    ArchiveEntries entries = {{"Data\\spots.xml", SceneText(R"(<lights>
             <spot name="Fixed" translation="1 2 3" rotation="0 1.5707964 0" radius="40" coneangle="0.6"
                   penumbraangle="0.1"/>
             <spot name="Moving" translation="0 0 0"/>
             <point name="Twice"/>
             <spot name="Twice" radius="5"/>
           </lights>)")}};
    for (const char* channel : {"translateX", "translateY", "rotateX", "rotateY", "rotateZ"})
        entries["Data\\anim\\Moving." + std::string(channel)] = ConstantCurve(0.0f);
    entries["Data\\anim\\Moving.translateZ"] = LinearCurve(0.0f, 2.0f);
    entries["Data\\anim\\Moving.rotateX"] = ConstantCurve(-1.5707964f);
    Start(entries);
    scene.LoadSceneData("spots.xml");
    ASSERT_EQ(scene.lights.size(), 3u);

    // A quarter turn about Y: light x is world -z, light z is world x.
    SpotLight& fixed = LightOf<SpotLight>(scene, "Fixed");
    EXPECT_EQ(fixed.animation, nullptr);
    EXPECT_EQ(fixed.radius, 40.0f);
    EXPECT_FLOAT_EQ(fixed.coneAngle, 0.6f);
    EXPECT_FLOAT_EQ(fixed.penumbraAngle, 0.1f);
    const float world[4][4] = {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {1, 2, 3, 1}};
    // view = T(-p) * R^T: the rows of R^T, then -(R's rows . p) = (3, -2, -1).
    const float view[4][4] = {{0, 0, 1, 0}, {0, 1, 0, 0}, {-1, 0, 0, 0}, {3, -2, -1, 1}};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            EXPECT_NEAR(fixed.world(row, column), world[row][column], 1e-6) << row << ", " << column;
            EXPECT_NEAR(fixed.view(row, column), view[row][column], 1e-6) << row << ", " << column;
        }
    fixed.update(3.0f);
    ExpectVector(fixed.position, 1, 2, 3);

    // A quarter turn back about X: R's rows are (1, 0, 0), (0, 0, -1), (0, 1, 0); moving along z.
    SpotLight& moving = LightOf<SpotLight>(scene, "Moving");
    ASSERT_NE(moving.animation, nullptr);
    moving.update(3.0f);
    ExpectVector(moving.position, 0, 0, 6, 1e-5f);
    ExpectVector(moving.rotation, -1.5707964f, 0, 0);
    EXPECT_NEAR(moving.world(1, 2), -1.0f, 1e-6);
    EXPECT_NEAR(moving.world(2, 1), 1.0f, 1e-6);
    EXPECT_NEAR(moving.world(3, 2), 6.0f, 1e-5);
    // -(R's rows . p) with p = (0, 0, 6).
    EXPECT_NEAR(moving.view(3, 0), 0.0f, 1e-5);
    EXPECT_NEAR(moving.view(3, 1), 6.0f, 1e-5);
    EXPECT_NEAR(moving.view(3, 2), 0.0f, 1e-5);

    // The later of two lights of one name is kept, whatever its kind.
    EXPECT_EQ(LightOf<SpotLight>(scene, "Twice").radius, 5.0f);
}

TEST_F(SceneDataTest, ReloadingReplacesEverythingAndARefusedFileKeepsWhatWasThere)
{
    Start({{"Data\\a.xml", SceneText(R"(<cameras><camera name="one"/><camera name="two"/></cameras>
                                        <lights><point name="p"/></lights>)")},
           {"Data\\b.xml", SceneText(R"(<cameras><camera name="three"/></cameras>)")},
           {"Data\\bad.xml", SceneText(R"(<cameras><camera name="four"></cameras>)")}});
    scene.LoadSceneData("a.xml");
    EXPECT_EQ(scene.cameraSet.Cameras().size(), 2u);
    EXPECT_EQ(scene.lights.size(), 1u);

    scene.LoadSceneData("b.xml");
    ASSERT_EQ(scene.cameraSet.Cameras().size(), 1u);
    EXPECT_EQ(scene.cameraSet.GetActiveCamera()->name, "three");
    EXPECT_TRUE(scene.lights.empty());

    EXPECT_EQ(FrameworkFailure([&] { scene.LoadSceneData("missing.xml"); }),
              "[Scene::LoadSceneData (missing.xml)] Error in Parse:scenenodes.xml:Error document empty.");
    const std::string bad = FrameworkFailure([&] { scene.LoadSceneData("bad.xml"); });
    EXPECT_EQ(bad.rfind("[Scene::LoadSceneData (bad.xml)] Error in Parse:scenenodes.xml:", 0), 0u) << bad;
    ASSERT_EQ(scene.cameraSet.Cameras().size(), 1u);
    EXPECT_EQ(scene.cameraSet.GetActiveCamera()->name, "three");
}
