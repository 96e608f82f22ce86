#pragma once

#include <functional>

class QWidget;

// Builds a template's widgets into the widget given (the top-level of the template).
using TemplateBuilder = std::function<void(QWidget*)>;

void registerTemplate(int id, TemplateBuilder builder);
// False when no template has the id.
bool buildTemplate(int id, QWidget* widget);

// The application's own templates (generated from resources/templates).
void registerApplicationTemplates();
