#include "Modules/BoxEnvironment/BoxEnvironment.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXMesh/DXMesh.h"
#include "Framework/Timer/Timer.h"

void BoxEnvironment::Load()
{
    auto box = std::make_unique<DXMesh>("", 0);
    box->LoadX(BoxMesh);
    objects.push_back(std::move(box));
}

void BoxEnvironment::Release()
{
    objects.clear();
}

void BoxEnvironment::Update()
{
    const float time = static_cast<float>(Timer::GetElapsed());
    for (auto& object : objects)
        object->UpdateAnimation(time);
}

void BoxEnvironment::Draw()
{
    for (auto& object : objects)
        DXEffectHandler::DrawObject(*object);
}
