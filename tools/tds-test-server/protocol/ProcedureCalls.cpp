#include "ProcedureCalls.h"

#include <stdexcept>
#include <vector>

#include "Text.h"

namespace tds {
namespace {

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '@' || c == '#' || c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

// The parameter names of a declaration list, in order. Commas inside parentheses belong to a
// type ("decimal(10,2)").
std::vector<std::string> declaredNames(std::string_view declarations) {
    std::vector<std::string> names;
    int depth = 0;
    bool expectName = true;
    for (std::size_t i = 0; i < declarations.size(); ++i) {
        const char c = declarations[i];
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        } else if (c == ',' && depth == 0) {
            expectName = true;
        } else if (c == '@' && expectName) {
            std::size_t end = i + 1;
            while (end < declarations.size() && isNameCharacter(declarations[end])) ++end;
            names.emplace_back(declarations.substr(i, end - i));
            expectName = false;
            i = end - 1;
        }
    }
    return names;
}

// Where the quoted part or comment starting at `start` ends (one past its last character).
std::size_t skipQuoted(std::string_view text, std::size_t start) {
    const char open = text[start];
    if (open == '-' || open == '/') {
        const std::string_view close = open == '-' ? "\n" : "*/";
        const std::size_t end = text.find(close, start + 2);
        return end == std::string_view::npos ? text.size() : end + close.size();
    }
    const char close = open == '[' ? ']' : open;
    for (std::size_t i = start + 1; i < text.size(); ++i) {
        if (text[i] != close) continue;
        // A doubled closing character stands for itself.
        if (i + 1 < text.size() && text[i + 1] == close) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return text.size();
}

ServerMessage missingStatement(std::string_view procedure) {
    return {214, 2, 16,
            "Procedure " + std::string(procedure) +
                " expects parameter '@statement' of type 'ntext/nchar/nvarchar'."};
}

ServerMessage unknownHandle(const RpcParameter& handle) {
    return {8179, 4, 16, "Could not find prepared statement with handle " + handle.literal + "."};
}

const RpcParameter* parameterAt(const RpcCall& call, std::size_t index) {
    return index < call.parameters.size() ? &call.parameters[index] : nullptr;
}

std::string textOf(const RpcParameter* parameter) {
    return parameter != nullptr && parameter->text ? *parameter->text : std::string();
}

}  // namespace

std::string bindParameters(std::string_view statement, std::string_view declarations,
                           std::span<const RpcParameter> values) {
    const std::vector<std::string> names = declaredNames(declarations);
    std::vector<const RpcParameter*> valueOf(names.size(), nullptr);
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::size_t index = i;
        if (!values[i].name.empty()) {
            index = names.size();
            for (std::size_t n = 0; n < names.size(); ++n) {
                if (equalsIgnoreCase(names[n], values[i].name)) index = n;
            }
        }
        if (index >= names.size()) {
            throw std::invalid_argument("Procedure or function has too many arguments specified.");
        }
        valueOf[index] = &values[i];
    }

    std::string out;
    out.reserve(statement.size());
    for (std::size_t i = 0; i < statement.size();) {
        const char c = statement[i];
        const bool comment = (c == '-' && statement.substr(i, 2) == "--") ||
                             (c == '/' && statement.substr(i, 2) == "/*");
        if (c == '\'' || c == '"' || c == '[' || comment) {
            const std::size_t end = skipQuoted(statement, i);
            out.append(statement.substr(i, end - i));
            i = end;
            continue;
        }
        if (c == '@' && (i == 0 || !isNameCharacter(statement[i - 1]))) {
            std::size_t end = i + 1;
            while (end < statement.size() && isNameCharacter(statement[end])) ++end;
            const std::string_view name = statement.substr(i, end - i);
            const RpcParameter* value = nullptr;
            for (std::size_t n = 0; n < names.size(); ++n) {
                if (equalsIgnoreCase(names[n], name)) value = valueOf[n];
            }
            out.append(value != nullptr ? std::string_view(value->literal) : name);
            i = end;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

std::string ProcedureAction::journalText() const {
    return detail.empty() ? procedure : procedure + ": " + detail;
}

std::int32_t ProcedureCalls::prepare(std::string declarations, std::string statement) {
    const std::int32_t handle = nextHandle_++;
    prepared_[handle] = Prepared{std::move(declarations), std::move(statement)};
    return handle;
}

const ProcedureCalls::Prepared* ProcedureCalls::find(const RpcParameter& handle) const {
    if (!handle.integer) return nullptr;
    const auto it = prepared_.find(static_cast<std::int32_t>(*handle.integer));
    return it == prepared_.end() ? nullptr : &it->second;
}

// sp_executesql @statement, @params, values...
// sp_prepare @handle OUTPUT, @params, @statement[, @options]
// sp_execute @handle, values...
// sp_prepexec @handle OUTPUT, @params, @statement, values...
// sp_unprepare @handle
ProcedureAction ProcedureCalls::resolve(const RpcCall& call) {
    ProcedureAction action;
    action.procedure = call.procedure;
    const std::string procedure = asciiLower(call.procedure);
    const std::span<const RpcParameter> parameters(call.parameters);
    try {
        if (procedure == "sp_executesql") {
            const RpcParameter* statement = parameterAt(call, 0);
            if (statement == nullptr || !statement->text) {
                action.error = missingStatement(call.procedure);
                return action;
            }
            action.statement =
                bindParameters(*statement->text, textOf(parameterAt(call, 1)),
                               parameters.subspan(std::min<std::size_t>(2, parameters.size())));
        } else if (procedure == "sp_prepare" || procedure == "sp_prepexec") {
            const RpcParameter* statement = parameterAt(call, 2);
            if (statement == nullptr || !statement->text) {
                action.error = missingStatement(call.procedure);
                return action;
            }
            const std::string declarations = textOf(parameterAt(call, 1));
            action.handle = prepare(declarations, *statement->text);
            action.detail = *statement->text;
            action.handleName = call.parameters[0].name;
            if (procedure == "sp_prepexec") {
                action.statement =
                    bindParameters(*statement->text, declarations, parameters.subspan(3));
            }
        } else if (procedure == "sp_execute" || procedure == "sp_unprepare") {
            const RpcParameter* handle = parameterAt(call, 0);
            const Prepared* prepared = handle != nullptr ? find(*handle) : nullptr;
            if (prepared == nullptr) {
                action.error = unknownHandle(handle != nullptr ? *handle : RpcParameter{});
                return action;
            }
            action.detail = handle->literal;
            if (procedure == "sp_execute") {
                action.statement = bindParameters(prepared->statement, prepared->declarations,
                                                  parameters.subspan(1));
            } else {
                prepared_.erase(static_cast<std::int32_t>(*handle->integer));
            }
        } else {
            action.error = ServerMessage{
                0, 1, 16,
                "The test server does not run " + call.procedure +
                    "; it answers sp_executesql, sp_prepare, sp_execute, sp_prepexec and "
                    "sp_unprepare."};
        }
    } catch (const std::invalid_argument& error) {
        action.statement.reset();
        action.error = ServerMessage{8144, 2, 16, error.what()};
    }
    if (action.statement) action.detail = *action.statement;
    return action;
}

}  // namespace tds
