inherited DetailsForm: TDetailsForm
  Caption = 'Project details'
  inherited GreetingLabel: TLabel
    Caption = 'Details of the open project'
  end
  object PathLabel: TLabel
    Left = 16
    Top = 212
    Caption = 'Path: (none)'
    Hint = 'Where the project'#39's files are'
  end
end
